// One mail handed to one SMTP server over libcurl: connect, STARTTLS when
// the server offers it (TLS from the start on port 465), log in when asked
// to, send the MIME message (the body as text, the attachment as a base64
// part), quit. The server's certificate is checked against the system's
// CAs. Blocking: the mail worker's thread calls it, never the main thread;
// any thread may, each call has a libcurl handle of its own. Never throws.
#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

#include "mail/mailmessage.h"

namespace brevanto {

struct SmtpLogin {
    std::string username;
    std::string password;
};

struct SmtpEndpoint {
    std::string host{};
    long port = 25;
    std::optional<SmtpLogin> login{};  // [Mail] AuthRequired
    // Trusted besides the system's CAs: a test's own certificate.
    std::filesystem::path extraCaFile{};
    std::chrono::seconds connectTimeout{30};
    std::chrono::seconds totalTimeout{120};
    // When set, the session is cut short soon after it turns true: the
    // program's end must not wait out a slow server's two minutes.
    const std::atomic<bool>* cancel = nullptr;
};

enum class SmtpOutcome {
    Sent,
    // No connection (host unknown or unreachable, refused, timed out), or
    // none that could be trusted: a certificate that does not check out
    // ends the session before anything is handed over, and says so in
    // `detail`.
    NotConnected,
    TransientFailure,  // a 4xx reply or a time-out once connected: worth another try
    // A 5xx reply to the sender, the message or the login (also no login
    // where the server wants one); and a message whose address, subject or
    // file name holds a line break, which is never sent.
    Refused,
    RecipientRefused,  // a 5xx reply to the recipient: a wrong address
};

struct SmtpResult {
    SmtpOutcome outcome = SmtpOutcome::NotConnected;
    long replyCode = 0;  // the server's last reply, 0 without one
    std::string detail;  // libcurl's words, for the journal
};

SmtpResult sendOverSmtp(const MailMessage& message, const SmtpEndpoint& endpoint);

}  // namespace brevanto
