// The one way the program sends a mail: a body and, when the path names a
// file, that file as an attachment. How it goes out, and every outcome's
// event line, is the sender's business; the caller never waits for it.
#pragma once

#include <filesystem>
#include <string>

namespace brevanto {

class MailSender {
public:
    virtual ~MailSender() = default;
    // An empty path sends no attachment.
    virtual void SendMail(const std::string& body, const std::filesystem::path& attachment) = 0;
};

}  // namespace brevanto
