#include "support/dnsserverprocess.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <stdexcept>
#include <string>
#include <vector>

namespace brevanto::testing {
namespace {

using namespace std::chrono_literals;
using SteadyClock = std::chrono::steady_clock;

// How long dnsmasq may take to answer its first question; only a guard.
constexpr auto kStartGuard = 10s;
// Another free port is tried when dnsmasq finds its port taken after all.
constexpr int kStartAttempts = 5;
constexpr auto kProbeWait = 100ms;

sockaddr_in loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

class UdpSocket {
public:
    UdpSocket() : m_fd(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)) {
        if (m_fd < 0) {
            throw std::runtime_error("cannot open a UDP socket");
        }
    }
    ~UdpSocket() { ::close(m_fd); }
    UdpSocket(const UdpSocket&) = delete;
    UdpSocket& operator=(const UdpSocket&) = delete;
    int fd() const { return m_fd; }

private:
    int m_fd;
};

// The one name this instance answers and no other: a dnsmasq that another
// test started on the same port meanwhile answers it "no such domain".
std::string probeName(int port) {
    return "probe" + std::to_string(::getpid()) + "x" + std::to_string(port) + ".test";
}

// An A question for `name`, id 0xb7e5, recursion desired.
std::vector<unsigned char> question(const std::string& name) {
    std::vector<unsigned char> bytes{0xb7, 0xe5, 0x01, 0x00, 0x00, 0x01,
                                     0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
    std::size_t start = 0;
    while (start <= name.size()) {
        const std::size_t dot = std::min(name.find('.', start), name.size());
        bytes.push_back(static_cast<unsigned char>(dot - start));
        bytes.insert(bytes.end(), name.begin() + static_cast<std::ptrdiff_t>(start),
                     name.begin() + static_cast<std::ptrdiff_t>(dot));
        start = dot + 1;
    }
    bytes.insert(bytes.end(), {0x00, 0x00, 0x01, 0x00, 0x01});
    return bytes;
}

}  // namespace

int freeUdpPort() {
    UdpSocket socket;
    sockaddr_in address = loopback(0);
    socklen_t length = sizeof address;
    auto* generic = reinterpret_cast<sockaddr*>(&address);
    if (::bind(socket.fd(), generic, length) != 0 ||
        ::getsockname(socket.fd(), generic, &length) != 0) {
        throw std::runtime_error("cannot find a free UDP port");
    }
    return ntohs(address.sin_port);
}

DnsServerProcess::DnsServerProcess(const std::vector<std::string>& records) {
    for (int attempt = 0; attempt < kStartAttempts; ++attempt) {
        if (start(records)) {
            return;
        }
    }
    throw std::runtime_error("dnsmasq did not start: " + log());
}

DnsServerProcess::~DnsServerProcess() = default;

bool DnsServerProcess::start(const std::vector<std::string>& records) {
    m_port = freeUdpPort();
    std::vector<std::string> argv{"/usr/sbin/dnsmasq",
                                  "--keep-in-foreground",
                                  "--no-resolv",
                                  "--no-hosts",
                                  "--listen-address=127.0.0.1",
                                  "--bind-interfaces",
                                  "--port=" + std::to_string(m_port),
                                  "--local=/test/",
                                  "--log-facility=-",
                                  "--pid-file=" + (m_dir / "dnsmasq.pid").string()};
    if (::geteuid() == 0) {
        argv.emplace_back("--user=root");  // stay the test's user rather than nobody
    }
    argv.emplace_back("--host-record=" + probeName(m_port) + ",127.0.0.1");
    argv.insert(argv.end(), records.begin(), records.end());
    m_child = std::make_unique<ChildProcess>(
        argv, ChildProcess::Options{.outputFile = m_dir / "dnsmasq.log", .endSignal = SIGTERM});
    const auto deadline = SteadyClock::now() + kStartGuard;
    while (SteadyClock::now() < deadline) {
        if (m_child->waitForExit(0ms)) {
            return false;  // most likely its port was taken meanwhile
        }
        if (answers()) {
            return true;
        }
    }
    throw std::runtime_error("dnsmasq did not answer in time: " + log());
}

bool DnsServerProcess::answers() const {
    const std::vector<unsigned char> probe = question(probeName(m_port));
    UdpSocket socket;
    const sockaddr_in server = loopback(m_port);
    if (::connect(socket.fd(), reinterpret_cast<const sockaddr*>(&server), sizeof server) != 0 ||
        ::send(socket.fd(), probe.data(), probe.size(), 0) < 0) {
        return false;
    }
    pollfd readable{socket.fd(), POLLIN, 0};
    if (::poll(&readable, 1, static_cast<int>(kProbeWait.count())) != 1) {
        return false;
    }
    std::array<unsigned char, 512> reply{};
    const ssize_t length = ::recv(socket.fd(), reply.data(), reply.size(), 0);
    // Ours: the same id and an answer, not "no such domain".
    return length >= 8 && reply[0] == probe[0] && reply[1] == probe[1] &&
           (reply[6] != 0 || reply[7] != 0);
}

std::string DnsServerProcess::log() const {
    return readFile(m_dir / "dnsmasq.log");
}

}  // namespace brevanto::testing
