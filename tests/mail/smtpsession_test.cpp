#include "mail/smtpsession.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <ostream>

#include <gtest/gtest.h>

#include "support/smtpserverprocess.h"
#include "support/tempdir.h"

namespace brevanto {

// So a failed comparison names the outcome rather than its bytes.
void PrintTo(SmtpOutcome outcome, std::ostream* out) {
    constexpr const char* kNames[] = {"Sent", "NotConnected", "TransientFailure", "Refused",
                                      "RecipientRefused"};
    *out << kNames[static_cast<int>(outcome)];
}

namespace {

using testing::SmtpServerProcess;

constexpr const char* kAddress = "owner@brevanto.example";
constexpr const char* kEnergyBody =
    "Daily Energy production (31.03.2015): 1.500 kWh. \r\n"
    "Total production from 01.01.2015 is: 1234.567kWh";

SmtpEndpoint endpointOf(const SmtpServerProcess& server) {
    return {.host = server.host(), .port = server.port()};
}

MailMessage energyMail(std::optional<MailAttachment> attachment = std::nullopt) {
    return composeMail(kAddress, kEnergyBody, std::move(attachment));
}

// A loopback port of this test's own, so no other program can take it
// meanwhile. Bound only, it refuses a connection at once; listening, the
// system takes the connection, and nobody ever answers on it.
class LoopbackPort {
public:
    enum class Kind { Closed, Silent };

    explicit LoopbackPort(Kind kind) : m_socket(::socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(m_socket, reinterpret_cast<sockaddr*>(&address), length);
        ::getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ntohs(address.sin_port);
        if (kind == Kind::Silent) {
            ::listen(m_socket, 1);
        }
    }
    ~LoopbackPort() { ::close(m_socket); }
    LoopbackPort(const LoopbackPort&) = delete;
    LoopbackPort& operator=(const LoopbackPort&) = delete;

    long port() const { return m_port; }

private:
    int m_socket;
    long m_port = 0;
};

TEST(SmtpSession, DeliversTheTextAndTheFileAsTheServerReadsThem) {
    SmtpServerProcess server;
    const std::string file("Date;Energy\r\n\0\x01\xff", 17);

    const auto result =
        sendOverSmtp(energyMail(MailAttachment{"EnergyLog_03-2015.csv", file}), endpointOf(server));

    ASSERT_EQ(result.outcome, SmtpOutcome::Sent) << result.detail;
    const auto mails = server.receivedMails();
    ASSERT_EQ(mails.size(), 1u);
    const auto& mail = mails[0];
    EXPECT_EQ(mail.mailFrom, kAddress);
    EXPECT_EQ(mail.recipients, std::vector<std::string>{kAddress});
    EXPECT_EQ(mail.header("Subject"), std::vector<std::string>{"Message from Brevanto"});
    EXPECT_EQ(mail.header("From"), std::vector<std::string>{kAddress});
    EXPECT_EQ(mail.header("To"), std::vector<std::string>{kAddress});
    EXPECT_EQ(mail.body, kEnergyBody);
    ASSERT_EQ(mail.attachments.size(), 1u);
    EXPECT_EQ(mail.attachments[0].name, "EnergyLog_03-2015.csv");
    EXPECT_EQ(mail.attachments[0].transferEncoding, "base64");
    EXPECT_EQ(mail.attachments[0].bytes, file);
    EXPECT_FALSE(mail.tls);
    EXPECT_EQ(mail.login, "");
}

TEST(SmtpSession, LogsInOnlyWithTheRightCredentials) {
    SmtpServerProcess server({.auth = "brevanto:s3cret"});
    struct Case {
        const char* name;
        std::optional<SmtpLogin> login;
        SmtpOutcome outcome;
        long replyCode;
    };
    const Case cases[] = {
        {"right", SmtpLogin{"brevanto", "s3cret"}, SmtpOutcome::Sent, 250},
        {"wrong password", SmtpLogin{"brevanto", "guess"}, SmtpOutcome::Refused, 535},
        // The server then turns MAIL FROM away.
        {"no login", std::nullopt, SmtpOutcome::Refused, 530},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SmtpEndpoint endpoint = endpointOf(server);
        endpoint.login = c.login;
        const auto result = sendOverSmtp(energyMail(), endpoint);
        EXPECT_EQ(result.outcome, c.outcome) << result.detail;
        EXPECT_EQ(result.replyCode, c.replyCode);
    }
    const auto mails = server.receivedMails();
    ASSERT_EQ(mails.size(), 1u);
    EXPECT_EQ(mails[0].login, "brevanto");
}

TEST(SmtpSession, TurnsToTlsWhenOfferedAndTrustsOnlyAKnownCertificate) {
    const testing::TempDir dir;
    const auto certificate = testing::makeSelfSignedCertificate(dir.path());
    SmtpServerProcess server({.tls = certificate});
    SmtpEndpoint endpoint = endpointOf(server);
    endpoint.host = "localhost";  // the name the certificate is for

    const auto untrusted = sendOverSmtp(energyMail(), endpoint);
    EXPECT_EQ(untrusted.outcome, SmtpOutcome::NotConnected) << untrusted.detail;
    EXPECT_TRUE(server.receivedMails().empty());

    endpoint.extraCaFile = certificate.certificate;
    const auto trusted = sendOverSmtp(energyMail(), endpoint);
    ASSERT_EQ(trusted.outcome, SmtpOutcome::Sent) << trusted.detail;
    const auto mails = server.receivedMails();
    ASSERT_EQ(mails.size(), 1u);
    EXPECT_TRUE(mails[0].tls);
}

TEST(SmtpSession, ARefusedRecipientIsAWrongAddress) {
    SmtpServerProcess server({.refuseRecipient = true});

    const auto result = sendOverSmtp(energyMail(), endpointOf(server));

    EXPECT_EQ(result.outcome, SmtpOutcome::RecipientRefused) << result.detail;
    EXPECT_EQ(result.replyCode, 550);
}

TEST(SmtpSession, ATemporaryFailureIsWorthTheRetryThatDelivers) {
    SmtpServerProcess server({.tempfail = 1});

    const auto first = sendOverSmtp(energyMail(), endpointOf(server));
    const auto retry = sendOverSmtp(energyMail(), endpointOf(server));

    EXPECT_EQ(first.outcome, SmtpOutcome::TransientFailure) << first.detail;
    EXPECT_EQ(first.replyCode, 451);
    EXPECT_EQ(retry.outcome, SmtpOutcome::Sent) << retry.detail;
    EXPECT_EQ(server.receivedMails().size(), 1u);
}

TEST(SmtpSession, NoServerToReachIsNotConnected) {
    const LoopbackPort closed(LoopbackPort::Kind::Closed);
    struct Case {
        std::string host;
        long port;
    };
    // A refused connection and an unknown name both fail at once, long
    // before the connect time-out.
    const Case cases[] = {{"127.0.0.1", closed.port()}, {"no-such-host.invalid", 25}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.host);
        const auto result = sendOverSmtp(energyMail(), {.host = c.host, .port = c.port});
        EXPECT_EQ(result.outcome, SmtpOutcome::NotConnected) << result.detail;
        EXPECT_EQ(result.replyCode, 0);
        EXPECT_FALSE(result.detail.empty());
    }
}

TEST(SmtpSession, ASilenceOnceConnectedIsATransientFailure) {
    const LoopbackPort silent(LoopbackPort::Kind::Silent);
    SmtpEndpoint endpoint{.host = "127.0.0.1", .port = silent.port()};
    endpoint.totalTimeout = std::chrono::seconds(1);  // waited out: the test's one second

    const auto result = sendOverSmtp(energyMail(), endpoint);

    EXPECT_EQ(result.outcome, SmtpOutcome::TransientFailure) << result.detail;
    EXPECT_EQ(result.replyCode, 0);
}

// The program's end cuts a session short instead of waiting out a silent
// server's two minutes.
TEST(SmtpSession, ACancelledSessionEndsWithoutWaitingOutTheServer) {
    const LoopbackPort silent(LoopbackPort::Kind::Silent);
    const std::atomic<bool> cancel{true};
    SmtpEndpoint endpoint{.host = "127.0.0.1", .port = silent.port()};
    endpoint.cancel = &cancel;

    const auto start = std::chrono::steady_clock::now();
    const auto result = sendOverSmtp(energyMail(), endpoint);

    EXPECT_NE(result.outcome, SmtpOutcome::Sent);
    EXPECT_LT(std::chrono::steady_clock::now() - start, endpoint.connectTimeout / 2);
}

TEST(SmtpSession, ALineBreakInTheAddressAddsNoHeaderAndNoRecipient) {
    SmtpServerProcess server;

    const auto composed = sendOverSmtp(
        composeMail("a@b.example\r\nBcc: evil@x", "text", std::nullopt), endpointOf(server));
    // Put together without composeMail, it is not sent at all.
    const MailMessage raw{"a@b.example\r\nBcc: evil@x", "Message from Brevanto", "text", {}};
    const auto uncomposed = sendOverSmtp(raw, endpointOf(server));

    ASSERT_EQ(composed.outcome, SmtpOutcome::Sent) << composed.detail;
    EXPECT_EQ(uncomposed.outcome, SmtpOutcome::Refused);
    const auto mails = server.receivedMails();
    ASSERT_EQ(mails.size(), 1u);
    EXPECT_EQ(mails[0].recipients, std::vector<std::string>{"a@b.example"});
    EXPECT_EQ(mails[0].header("To"), std::vector<std::string>{"a@b.example"});
    EXPECT_TRUE(mails[0].header("Bcc").empty());
    EXPECT_TRUE(mails[0].attachments.empty());
}

}  // namespace
}  // namespace brevanto
