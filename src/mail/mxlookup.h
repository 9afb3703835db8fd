// The direct relay's view of the DNS: the computer's first name server, and
// a domain's mail servers (MX records, best preference first) asked of that
// server alone with c-ares. Blocking, on the mail worker's thread.
#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace brevanto {

struct NameServer {
    std::string address;  // numeric IPv4 or IPv6
    int port = 53;
};

// The first "nameserver" line of a resolv.conf file: the Linux form of the
// computer's first DNS server. Nothing when there is none.
std::optional<NameServer> firstNameServer(
    const std::filesystem::path& resolvConf = "/etc/resolv.conf");

struct MxLookup {
    enum class Status { Found, NoSuchDomain, Failed };
    Status status = Status::Failed;
    std::vector<std::string> hosts;  // best preference first
};

// The domain's MX hosts, asked of `server` alone.
MxLookup lookUpMailServers(const std::string& domain, const NameServer& server,
                           std::chrono::seconds timeout = std::chrono::seconds(10));

}  // namespace brevanto
