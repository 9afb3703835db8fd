#include "mail/mailmessage.h"

#include <algorithm>

namespace brevanto {
namespace {

bool isControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7f;
}

std::string withoutControls(std::string text) {
    std::erase_if(text, isControl);
    return text;
}

// What follows a line break in the address setting is no part of the
// address; joined on, it would only make an address no server takes.
std::string firstLineOf(std::string text) {
    text.erase(std::find_if(text.begin(), text.end(), isControl), text.end());
    return text;
}

}  // namespace

bool fitsOneHeaderLine(std::string_view text) {
    return std::none_of(text.begin(), text.end(), isControl);
}

MailMessage composeMail(std::string address, std::string body,
                        std::optional<MailAttachment> attachment) {
    if (attachment) {
        attachment->fileName = withoutControls(std::move(attachment->fileName));
    }
    return {firstLineOf(std::move(address)), "Message from Brevanto", std::move(body),
            std::move(attachment)};
}

}  // namespace brevanto
