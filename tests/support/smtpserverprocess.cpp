#include "support/smtpserverprocess.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <stdexcept>

#include <gtest/gtest.h>

#include "support/fixtures.h"
#include "support/jsonvalue.h"

namespace brevanto::testing {
namespace {

using Clock = std::chrono::steady_clock;

std::vector<std::string> serverArguments(const SmtpServerProcess::Options& options,
                                         const std::filesystem::path& mailbox) {
    std::vector<std::string> argv{
        "/usr/bin/python3", BREVANTO_SMTP_SERVER_PATH,    "--host",    options.host,
        "--port",           std::to_string(options.port), "--mailbox", mailbox.string()};
    if (!options.auth.empty()) {
        argv.insert(argv.end(), {"--auth", options.auth});
    }
    if (options.tls) {
        argv.insert(argv.end(),
                    {"--tls", options.tls->certificate.string(), options.tls->key.string()});
    }
    if (options.requireStartTls) {
        argv.push_back("--require-starttls");
    }
    if (options.refuseRecipient) {
        argv.push_back("--refuse-recipient");
    }
    if (options.tempfail > 0) {
        argv.insert(argv.end(), {"--tempfail", std::to_string(options.tempfail)});
    }
    return argv;
}

std::string bytesOfHex(const std::string& hex) {
    const auto bytes = bytesFromHex(hex);
    return {bytes.begin(), bytes.end()};
}

ReceivedMail mailFromSummary(const JsonValue& summary, std::string raw) {
    ReceivedMail mail;
    mail.mailFrom = summary["mailFrom"].string();
    for (const JsonValue& recipient : summary["recipients"].array()) {
        mail.recipients.push_back(recipient.string());
    }
    mail.tls = summary["tls"].boolean();
    mail.login = summary["login"].string();
    for (const JsonValue& header : summary["headers"].array()) {
        mail.headers.emplace_back(header.array().at(0).string(), header.array().at(1).string());
    }
    mail.body = summary["body"].string();
    for (const JsonValue& file : summary["attachments"].array()) {
        mail.attachments.push_back({file["name"].string(), file["contentType"].string(),
                                    file["transferEncoding"].string(),
                                    bytesOfHex(file["hex"].string())});
    }
    mail.raw = std::move(raw);
    return mail;
}

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

}  // namespace

TlsCertificate makeSelfSignedCertificate(const std::filesystem::path& directory) {
    TlsCertificate files{directory / "smtp-cert.pem", directory / "smtp-key.pem"};
    const ProcessRun run =
        runToExit({"openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-subj",
                   "/CN=localhost", "-addext", "subjectAltName=DNS:localhost,IP:127.0.0.1", "-days",
                   "1", "-keyout", files.key.string(), "-out", files.certificate.string()});
    if (run.exitStatus != 0) {
        throw std::runtime_error("openssl made no certificate: " + run.errors);
    }
    return files;
}

std::vector<std::string> ReceivedMail::header(const std::string& name) const {
    std::vector<std::string> values;
    for (const auto& [headerName, value] : headers) {
        if (lowered(headerName) == lowered(name)) {
            values.push_back(value);
        }
    }
    return values;
}

SmtpServerProcess::SmtpServerProcess() : SmtpServerProcess(Options{}) {}

SmtpServerProcess::SmtpServerProcess(Options options) : m_host(options.host) {
    // A server that never gets ready is killed with the child below.
    m_child =
        std::make_unique<ChildProcess>(serverArguments(options, m_mailbox.path()),
                                       ChildProcess::Options{.input = ChildProcess::Stream::Pipe,
                                                             .output = ChildProcess::Stream::Pipe});
    const std::string line = readReadyLine();
    if (line.rfind("ready ", 0) != 0) {
        throw std::runtime_error("smtpserver.py said '" + line + "', not 'ready <port>'");
    }
    m_port = std::stol(line.substr(6));
}

SmtpServerProcess::~SmtpServerProcess() {
    m_child->closeInput();
    const auto status = m_child->waitForExit(kSmtpServerTimeout);
    EXPECT_EQ(status.value_or(-1), 0) << "smtpserver.py did not exit cleanly";
}

std::string SmtpServerProcess::readReadyLine() {
    const auto deadline = Clock::now() + kSmtpServerTimeout;
    std::string text;
    while (text.find('\n') == std::string::npos) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd readable{m_child->output(), POLLIN, 0};
        if (::poll(&readable, 1, static_cast<int>(std::max<long long>(left.count(), 0))) != 1) {
            throw std::runtime_error("smtpserver.py was not ready in time");
        }
        std::array<char, 256> buffer{};
        const ssize_t n = ::read(m_child->output(), buffer.data(), buffer.size());
        if (n <= 0) {
            throw std::runtime_error("smtpserver.py ended before it was ready");
        }
        text.append(buffer.data(), static_cast<std::size_t>(n));
    }
    return text.substr(0, text.find('\n'));
}

std::vector<ReceivedMail> SmtpServerProcess::receivedMails() const {
    std::vector<ReceivedMail> mails;
    // The .eml file is renamed into place after its summary is written.
    for (int n = 1; std::filesystem::exists(mailbox() / (std::to_string(n) + ".eml")); ++n) {
        const auto stem = mailbox() / std::to_string(n);
        mails.push_back(mailFromSummary(JsonValue::parse(readFile(stem.string() + ".json")),
                                        readFile(stem.string() + ".eml")));
    }
    return mails;
}

}  // namespace brevanto::testing
