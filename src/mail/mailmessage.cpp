#include "mail/mailmessage.h"

#include <algorithm>

namespace brevanto {
namespace {

std::string withoutControls(std::string text) {
    std::erase_if(text, [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7f;
    });
    return text;
}

}  // namespace

MailMessage composeMail(std::string address, std::string body,
                        std::optional<MailAttachment> attachment) {
    if (attachment) {
        attachment->fileName = withoutControls(std::move(attachment->fileName));
    }
    return {withoutControls(std::move(address)), "Message from Brevanto", std::move(body),
            std::move(attachment)};
}

}  // namespace brevanto
