// What the journal says of a mail, line by line, as it goes to a real SMTP
// server on loopback or through the direct relay and a real name server.
#include "mail/maildelivery.h"

#include <gtest/gtest.h>

#include "support/dnsserverprocess.h"
#include "support/smtpserverprocess.h"

namespace brevanto {
namespace {

using testing::DnsServerProcess;
using testing::SmtpServerProcess;

struct Tried {
    std::vector<std::string> events;
    bool again = false;
};

Tried attempt(const MailDelivery& delivery, const MailSettings& settings) {
    Tried tried;
    const std::atomic<bool> cancel{false};
    const MailJob job{settings, composeMail(settings.address, "This is a test message.", {})};
    tried.again = delivery(
        job, [&](std::string line) { tried.events.push_back(std::move(line)); }, cancel);
    return tried;
}

MailSettings throughServer(const SmtpServerProcess& server, std::string port = {}) {
    MailSettings settings;
    settings.address = "owner@example.test";
    settings.smtpHost = server.host();
    settings.smtpPort = port.empty() ? std::to_string(server.port()) : std::move(port);
    return settings;
}

using Lines = std::vector<std::string>;

TEST(MailDelivery, ThroughTheSmtpServerEachOutcomeHasItsLine) {
    SmtpServerProcess plain;
    SmtpServerProcess refusing({.refuseRecipient = true});
    SmtpServerProcess busy({.tempfail = 1});
    SmtpServerProcess withLogin({.auth = "owner:secret"});
    const MailDelivery delivery = mailDelivery();

    Tried tried = attempt(delivery, throughServer(plain));
    EXPECT_EQ(tried.events, Lines{"Send mail Success."});
    EXPECT_FALSE(tried.again);
    EXPECT_EQ(plain.receivedMails().size(), 1U);

    for (const char* port : {"2a5", "", "65536"}) {
        MailSettings settings = throughServer(plain);
        settings.smtpPort = port;
        tried = attempt(delivery, settings);
        EXPECT_EQ(tried.events, Lines{"Send mail fail in connecting to SMTP."}) << port;
        EXPECT_FALSE(tried.again) << port;
    }

    tried = attempt(delivery, throughServer(refusing));
    EXPECT_EQ(tried.events, Lines{"Send mail failed."});
    EXPECT_FALSE(tried.again);

    // A 451 is worth another try, which goes through.
    tried = attempt(delivery, throughServer(busy));
    EXPECT_EQ(tried.events, Lines{"Send mail failed."});
    EXPECT_TRUE(tried.again);
    EXPECT_EQ(attempt(delivery, throughServer(busy)).events, Lines{"Send mail Success."});

    MailSettings login = throughServer(withLogin);
    EXPECT_EQ(attempt(delivery, login).events, Lines{"Send mail failed."});
    login.authRequired = true;
    login.username = "owner";
    login.password = "secret";
    EXPECT_EQ(attempt(delivery, login).events, Lines{"Send mail Success."});
    EXPECT_EQ(withLogin.receivedMails().at(0).login, "owner");
}

TEST(MailDelivery, NoConnectionIsWorthAnotherTry) {
    std::optional<long> closedPort;
    {
        SmtpServerProcess gone;
        closedPort = gone.port();
    }
    MailSettings settings;
    settings.address = "owner@example.test";
    settings.smtpHost = "127.0.0.1";
    settings.smtpPort = std::to_string(*closedPort);
    const Tried tried = attempt(mailDelivery(), settings);
    EXPECT_EQ(tried.events, Lines{"Send mail fail in connecting to SMTP."});
    EXPECT_TRUE(tried.again);
}

TEST(MailDelivery, TheDirectRelayTellsEachStepAndItsEnd) {
    SmtpServerProcess domainServer;
    SmtpServerProcess refusing({.refuseRecipient = true});
    DnsServerProcess dns(
        {"--mx-host=example.test,localhost,10", "--mx-host=refusing.test,localhost,10"});
    DeliveryOptions options;
    options.nameServer = NameServer{DnsServerProcess::kAddress, dns.port()};
    options.relayPort = domainServer.port();
    MailSettings settings;
    settings.useInternal = true;
    settings.address = "owner@example.test";

    Tried tried = attempt(mailDelivery(options), settings);
    EXPECT_EQ(tried.events, (Lines{"Resolving Mail Servers", "Sending Message...", "Success!!"}));
    EXPECT_EQ(domainServer.receivedMails().size(), 1U);

    settings.address = "owner@nowhere.test";
    tried = attempt(mailDelivery(options), settings);
    EXPECT_EQ(tried.events, (Lines{"Resolving Mail Servers", "Wrong Address."}));
    EXPECT_FALSE(tried.again);

    options.relayPort = refusing.port();
    settings.address = "owner@refusing.test";
    tried = attempt(mailDelivery(options), settings);
    EXPECT_EQ(tried.events,
              (Lines{"Resolving Mail Servers", "Sending Message...", "Wrong Address."}));
}

}  // namespace
}  // namespace brevanto
