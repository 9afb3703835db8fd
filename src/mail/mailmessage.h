// One mail as the program sends it: the same address as sender and
// recipient, a fixed subject, the body's lines, and at most one file,
// read when the mail was asked for. Every text that reaches a header has
// had its CR and LF taken out (composeMail), so a setting can never add a
// header of its own.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace brevanto {

struct MailAttachment {
    std::string fileName;  // the name the recipient sees, no directory
    std::string bytes;     // the file as it was when the mail was asked for
};

struct MailMessage {
    std::string address;  // [Mail] Address: sender and recipient
    std::string subject;  // "Message from Brevanto"
    std::string body;     // lines separated by CR LF
    std::optional<MailAttachment> attachment;
};

// The program's mail: subject "Message from Brevanto", `address` up to its
// first CR, LF or other control character, the file name without any.
MailMessage composeMail(std::string address, std::string body,
                        std::optional<MailAttachment> attachment);

// Whether `text` can go into a header or an SMTP command as it is: no CR,
// LF or other control character that could end the line early.
bool fitsOneHeaderLine(std::string_view text);

}  // namespace brevanto
