#include "mail/directrelay.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/dnsserverprocess.h"
#include "support/smtpserverprocess.h"
#include "support/tempdir.h"

namespace brevanto {

// Names rather than bytes in a failure's message.
void PrintTo(MxLookup::Status status, std::ostream* out) {
    constexpr const char* kNames[] = {"Found", "NoSuchDomain", "Failed"};
    *out << kNames[static_cast<int>(status)];
}

void PrintTo(RelayOutcome outcome, std::ostream* out) {
    constexpr const char* kNames[] = {"Delivered", "WrongAddress", "TransientFailure", "Failed"};
    *out << kNames[static_cast<int>(outcome)];
}

void PrintTo(RelayStep step, std::ostream* out) {
    *out << (step == RelayStep::Resolving ? "Resolving" : "Sending");
}

namespace testing {
namespace {

using namespace std::chrono_literals;
using Status = MxLookup::Status;
using Hosts = std::vector<std::string>;

TEST(FirstNameServer, IsTheFirstNumericServerOutsideComments) {
    struct Case {
        std::optional<std::string> text;  // nothing: no file at all
        std::optional<std::string> server;
    };
    const Case cases[] = {
        {"# written by NetworkManager\nsearch lan\nnameserver 192.168.1.1\nnameserver 8.8.8.8\n",
         "192.168.1.1"},
        {"; nameserver 10.0.0.1\n# nameserver 10.0.0.2\n\n  \nnameserver\t10.0.0.3 # router\n",
         "10.0.0.3"},
        {"nameserver fe80::1%eth0\nnameserver 2001:db8::53\n", "2001:db8::53"},
        {"nameserver\nnameserver resolver.lan\nnameserver 10.1.1.1", "10.1.1.1"},
        {"search example.com\noptions ndots:2\n", std::nullopt},
        {"", std::nullopt},
        {std::nullopt, std::nullopt},
    };
    for (const Case& each : cases) {
        TempDir dir;
        if (each.text) {
            writeFile(dir / "resolv.conf", *each.text);
        }
        const std::optional<NameServer> found = firstNameServer(dir / "resolv.conf");
        const std::string shown = each.text.value_or("(no file)");
        ASSERT_EQ(found.has_value(), each.server.has_value()) << shown;
        if (found) {
            EXPECT_EQ(found->address, *each.server) << shown;
            EXPECT_EQ(found->port, 53) << shown;
        }
    }
}

// dnsmasq answers with the records given last first, so example.test's
// servers come worst first and only sorting puts them in order.
const std::vector<std::string> kRecords{
    "--mx-host=example.test,first.example.test,10",
    "--mx-host=example.test,second.example.test,20",
    "--host-record=nomx.test,127.0.0.1",
};

NameServer serverOf(const DnsServerProcess& dns) {
    return {DnsServerProcess::kAddress, dns.port()};
}

TEST(MailServerLookup, GivesTheDomainsServersBestFirstAndTellsWhatIsMissing) {
    const DnsServerProcess dns(kRecords);
    struct Case {
        std::string domain;
        Status status;
        Hosts hosts;
    };
    const Case cases[] = {
        {"example.test", Status::Found, {"first.example.test", "second.example.test"}},
        {"nomx.test", Status::Found, {}},
        {"unknown.test", Status::NoSuchDomain, {}},
    };
    for (const Case& each : cases) {
        const MxLookup found = lookUpMailServers(each.domain, serverOf(dns));
        EXPECT_EQ(found.status, each.status) << each.domain;
        EXPECT_EQ(found.hosts, each.hosts) << each.domain;
    }
}

// A UDP socket on loopback that takes questions and never answers them.
class SilentServer {
public:
    SilentServer() : m_fd(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        auto* generic = reinterpret_cast<sockaddr*>(&address);
        EXPECT_EQ(::bind(m_fd, generic, length), 0);
        EXPECT_EQ(::getsockname(m_fd, generic, &length), 0);
        m_port = ntohs(address.sin_port);
    }
    ~SilentServer() { ::close(m_fd); }
    SilentServer(const SilentServer&) = delete;
    SilentServer& operator=(const SilentServer&) = delete;

    int port() const { return m_port; }
    bool wasAsked() const {
        pollfd waiting{m_fd, POLLIN, 0};
        return ::poll(&waiting, 1, 0) == 1;
    }

private:
    int m_fd;
    int m_port = 0;
};

TEST(MailServerLookup, AServerThatDoesNotAnswerFailsWithinTheTimeOut) {
    // Far above the one-second time-out, far below c-ares's own retries.
    constexpr auto kGuard = 5s;
    const SilentServer silent;
    const int closedPort = freeUdpPort();
    for (const int port : {silent.port(), closedPort}) {
        const auto start = std::chrono::steady_clock::now();
        const MxLookup found = lookUpMailServers("example.test", {"127.0.0.1", port}, 1s);
        EXPECT_EQ(found.status, Status::Failed) << port;
        EXPECT_TRUE(found.hosts.empty()) << port;
        EXPECT_LT(std::chrono::steady_clock::now() - start, kGuard) << port;
    }
    EXPECT_TRUE(silent.wasAsked());
}

struct RelayRun {
    RelayOutcome outcome;
    std::vector<RelayStep> steps;
};

RelayRun relayTo(const std::string& address, const RelayOptions& options) {
    RelayRun run{};
    run.outcome = relayDirect(composeMail(address, "Test\r\n", std::nullopt), options,
                              [&run](RelayStep step) { run.steps.push_back(step); });
    return run;
}

TEST(DirectRelay, GivesUpBeforeSendingWhenTheAddressOrItsDomainIsWrong) {
    const DnsServerProcess dns(kRecords);
    const RelayOptions options{.nameServer = serverOf(dns)};
    const RelayOptions deaf{.nameServer = {"127.0.0.1", freeUdpPort()}};
    struct Case {
        std::string address;
        RelayOptions options;
        RelayOutcome outcome;
        std::vector<RelayStep> steps;
    };
    const Case cases[] = {
        {"nobody", options, RelayOutcome::WrongAddress, {}},
        {"nobody@", options, RelayOutcome::WrongAddress, {}},
        {"nobody@unknown.test", options, RelayOutcome::WrongAddress, {RelayStep::Resolving}},
        {"nobody@example.test", deaf, RelayOutcome::TransientFailure, {RelayStep::Resolving}},
    };
    for (const Case& each : cases) {
        const RelayRun run = relayTo(each.address, each.options);
        EXPECT_EQ(run.outcome, each.outcome) << each.address;
        EXPECT_EQ(run.steps, each.steps) << each.address;
    }
}

// Every server name here resolves without the test's name server: curl
// asks the system, which knows localhost and reads addresses as they are.
// Nothing listens on 127.0.0.2, so a server there cannot be reached.
TEST(DirectRelay, DeliversToTheFirstServerThatTakesTheMail) {
    using Step = RelayStep;
    const Step R = Step::Resolving;
    const Step S = Step::Sending;
    const std::vector<std::string> bestIsLocal{"--mx-host=example.test,localhost,10",
                                               "--mx-host=example.test,127.0.0.1,20"};
    // localhost has no MX, so the mail goes to the domain itself.
    const std::vector<std::string> noMx{"--local=/localhost/", "--host-record=localhost,127.0.0.1"};
    struct Case {
        const char* name;
        std::vector<std::string> records;
        SmtpServerProcess::Options server;
        std::string address;
        RelayOutcome outcome;
        std::vector<RelayStep> steps;
    };
    const Case cases[] = {
        {"the best server takes it",
         bestIsLocal,
         {},
         "ops@example.test",
         RelayOutcome::Delivered,
         {R, S}},
        {"the best server cannot be reached",
         {"--mx-host=example.test,127.0.0.2,10", "--mx-host=example.test,localhost,20"},
         {},
         "ops@example.test",
         RelayOutcome::Delivered,
         {R, S, S}},
        {"the best server answers 451",
         bestIsLocal,
         {.tempfail = 1},
         "ops@example.test",
         RelayOutcome::Delivered,
         {R, S, S}},
        {"no MX: the domain itself", noMx, {}, "ops@localhost", RelayOutcome::Delivered, {R, S}},
        {"451 from every server",
         {"--mx-host=localhost,127.0.0.1,10", "--host-record=localhost,127.0.0.1"},
         {.tempfail = 2},
         "ops@localhost",
         RelayOutcome::TransientFailure,
         {R, S, S}},
        {"the recipient is refused",
         bestIsLocal,
         {.refuseRecipient = true},
         "ops@example.test",
         RelayOutcome::WrongAddress,
         {R, S}},
        {"the sender is refused",
         bestIsLocal,
         {.auth = "brevanto:s3cret"},
         "ops@example.test",
         RelayOutcome::Failed,
         {R, S}},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.name);
        const DnsServerProcess dns(each.records);
        const SmtpServerProcess server(each.server);
        const RelayRun run = relayTo(each.address, {.nameServer = serverOf(dns),
                                                    .smtpPort = server.port(),
                                                    .connectTimeout = 5s,
                                                    .totalTimeout = 20s});
        EXPECT_EQ(run.outcome, each.outcome);
        EXPECT_EQ(run.steps, each.steps);
        const auto mails = server.receivedMails();
        ASSERT_EQ(mails.size(), each.outcome == RelayOutcome::Delivered ? 1u : 0u);
        if (!mails.empty()) {
            EXPECT_EQ(mails[0].recipients, std::vector<std::string>{each.address});
        }
    }
}

}  // namespace
}  // namespace testing
}  // namespace brevanto
