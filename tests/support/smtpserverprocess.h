// smtpserver.py (aiosmtpd) as a child process on loopback, for tests that
// need a real mail server: a port of its own choosing, optional AUTH,
// STARTTLS with a self-signed certificate, refusals and temporary failures
// on demand, and every accepted mail kept for the test to read.
#pragma once

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/childprocess.h"
#include "support/tempdir.h"

namespace brevanto::testing {

// How long the server may take to start or to end; only a guard against a
// hang, never something a test waits out.
inline constexpr std::chrono::seconds kSmtpServerTimeout{10};

struct TlsCertificate {
    std::filesystem::path certificate;  // also what a client trusts
    std::filesystem::path key;
};

// A fresh self-signed certificate for "localhost" and 127.0.0.1, valid for a
// day, in `directory`. Throws when openssl cannot make one.
TlsCertificate makeSelfSignedCertificate(const std::filesystem::path& directory);

struct ReceivedAttachment {
    std::string name;
    std::string contentType;
    std::string transferEncoding;  // as the part's header says, e.g. "base64"
    std::string bytes;             // decoded
};

// One accepted mail as the server's mail parser read it.
struct ReceivedMail {
    std::string mailFrom;  // the envelope
    std::vector<std::string> recipients;
    bool tls = false;   // the session was under TLS when the mail came
    std::string login;  // the user that logged in; empty without AUTH
    std::vector<std::pair<std::string, std::string>> headers;  // in order, decoded
    std::string body;                                          // the text part, decoded
    std::vector<ReceivedAttachment> attachments;
    std::string raw;  // the envelope line and the message's bytes as they came

    // The values of every top-level header of that name (any case).
    std::vector<std::string> header(const std::string& name) const;
};

class SmtpServerProcess {
public:
    // Every member has an initializer, so {.refuseRecipient = true} names
    // only what differs from the defaults.
    struct Options {
        std::string host = "127.0.0.1";
        long port = 0;  // 0: one the system chooses
        // "USER:PASS": AUTH LOGIN or PLAIN required (over TLS when TLS is
        // offered); empty: no AUTH.
        std::string auth{};
        // STARTTLS offered with this certificate; see makeSelfSignedCertificate.
        std::optional<TlsCertificate> tls{};
        bool requireStartTls = false;
        bool refuseRecipient = false;  // 550 to every RCPT TO
        int tempfail = 0;              // 451 to the first N messages
    };

    // Returns once the server listens; throws if it never does.
    SmtpServerProcess();
    explicit SmtpServerProcess(Options options);
    // Ends the server by closing its input; an exit other than a clean one
    // fails the current test.
    ~SmtpServerProcess();
    SmtpServerProcess(const SmtpServerProcess&) = delete;
    SmtpServerProcess& operator=(const SmtpServerProcess&) = delete;

    const std::string& host() const { return m_host; }
    long port() const { return m_port; }
    const std::filesystem::path& mailbox() const { return m_mailbox.path(); }

    // The mails accepted so far, in the order they came. A mail is written
    // before the server answers its message, so one a client saw accepted is
    // already here.
    std::vector<ReceivedMail> receivedMails() const;

private:
    std::string readReadyLine();

    TempDir m_mailbox;
    std::string m_host;
    long m_port = 0;
    std::unique_ptr<ChildProcess> m_child;
};

}  // namespace brevanto::testing
