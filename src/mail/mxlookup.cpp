#include "mail/mxlookup.h"

#include <ares.h>
#include <arpa/inet.h>
#include <arpa/nameser.h>
#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <memory>

namespace brevanto {
namespace {

using SteadyClock = std::chrono::steady_clock;

bool aresReady() {
    static const bool ready = ares_library_init(ARES_LIB_INIT_ALL) == ARES_SUCCESS;
    return ready;
}

// The sockets c-ares wants watched, as it reports them.
struct WatchedSockets {
    std::vector<pollfd> fds;

    static void update(void* data, ares_socket_t socket, int readable, int writable) {
        auto& fds = static_cast<WatchedSockets*>(data)->fds;
        std::erase_if(fds, [socket](const pollfd& fd) { return fd.fd == socket; });
        if (readable != 0 || writable != 0) {
            const auto events =
                static_cast<short>((readable != 0 ? POLLIN : 0) | (writable != 0 ? POLLOUT : 0));
            fds.push_back({socket, events, 0});
        }
    }
};

struct ChannelCloser {
    void operator()(ares_channel channel) const { ares_destroy(channel); }
};
using Channel = std::unique_ptr<std::remove_pointer_t<ares_channel>, ChannelCloser>;

bool useOnly(ares_channel channel, const NameServer& server) {
    ares_addr_port_node node{};
    node.udp_port = server.port;
    node.tcp_port = server.port;
    if (::inet_pton(AF_INET, server.address.c_str(), &node.addr.addr4) == 1) {
        node.family = AF_INET;
    } else if (::inet_pton(AF_INET6, server.address.c_str(), &node.addr.addr6) == 1) {
        node.family = AF_INET6;
    } else {
        return false;
    }
    return ares_set_servers_ports(channel, &node) == ARES_SUCCESS;
}

// A channel that asks `server` and nothing else: no search domains, no
// hosts file, no HOSTALIASES, the system's servers replaced.
Channel openChannel(const NameServer& server, std::chrono::milliseconds timeout,
                    WatchedSockets& sockets) {
    char lookups[] = "b";
    ares_options options{};
    options.flags = ARES_FLAG_NOSEARCH | ARES_FLAG_NOALIASES;
    options.ndomains = 0;
    options.lookups = lookups;
    // Two tries, the second waiting twice as long as the first, fill the time-out.
    options.tries = 2;
    options.timeout = std::max(1, static_cast<int>(timeout.count() / 3));
    options.sock_state_cb = &WatchedSockets::update;
    options.sock_state_cb_data = &sockets;
    const int mask = ARES_OPT_FLAGS | ARES_OPT_DOMAINS | ARES_OPT_LOOKUPS | ARES_OPT_TRIES |
                     ARES_OPT_TIMEOUTMS | ARES_OPT_SOCK_STATE_CB;
    ares_channel raw = nullptr;
    if (ares_init_options(&raw, &options, mask) != ARES_SUCCESS) {
        return nullptr;
    }
    Channel channel(raw);
    return useOnly(channel.get(), server) ? std::move(channel) : nullptr;
}

struct PendingQuery {
    bool done = false;
    MxLookup result;
};

std::string withoutTrailingDot(std::string host) {
    if (!host.empty() && host.back() == '.') {
        host.pop_back();
    }
    return host;
}

MxLookup hostsOf(const unsigned char* answer, int length) {
    ares_mx_reply* replies = nullptr;
    const int status = ares_parse_mx_reply(answer, length, &replies);
    if (status == ARES_ENODATA) {
        return {MxLookup::Status::Found, {}};
    }
    if (status != ARES_SUCCESS) {
        return {};
    }
    std::vector<std::pair<unsigned short, std::string>> ranked;
    for (const ares_mx_reply* reply = replies; reply != nullptr; reply = reply->next) {
        // A null MX (".") says the domain takes no mail: nothing to try there.
        if (std::string host = withoutTrailingDot(reply->host); !host.empty()) {
            ranked.emplace_back(reply->priority, std::move(host));
        }
    }
    ares_free_data(replies);
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    MxLookup found{MxLookup::Status::Found, {}};
    for (auto& [preference, host] : ranked) {
        found.hosts.push_back(std::move(host));
    }
    return found;
}

void answered(void* data, int status, int /*timeouts*/, unsigned char* answer, int length) {
    auto& query = *static_cast<PendingQuery*>(data);
    query.done = true;
    try {
        if (status == ARES_SUCCESS) {
            query.result = hostsOf(answer, length);
        } else if (status == ARES_ENODATA) {
            query.result = {MxLookup::Status::Found, {}};
        } else if (status == ARES_ENOTFOUND) {
            query.result = {MxLookup::Status::NoSuchDomain, {}};
        }
    } catch (...) {
        query.result = {};
    }
}

int millisecondsUntil(SteadyClock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - SteadyClock::now());
    return static_cast<int>(std::max<long long>(left.count(), 0));
}

// How long poll() may wait: until c-ares's next retry, at most until the deadline.
int nextWakeUp(ares_channel channel, SteadyClock::time_point deadline) {
    const int untilDeadline = millisecondsUntil(deadline);
    timeval longest{untilDeadline / 1000, (untilDeadline % 1000) * 1000};
    timeval chosen{};
    const timeval* wait = ares_timeout(channel, &longest, &chosen);
    const long long wanted = wait->tv_sec * 1000LL + (wait->tv_usec + 999) / 1000;
    return static_cast<int>(std::min<long long>(wanted, untilDeadline));
}

void serve(ares_channel channel, WatchedSockets& sockets) {
    // c-ares may change the list while it processes a socket.
    const std::vector<pollfd> ready = sockets.fds;
    bool any = false;
    for (const pollfd& fd : ready) {
        if (fd.revents != 0) {
            any = true;
            const bool readable = (fd.revents & (POLLIN | POLLERR | POLLHUP)) != 0;
            const bool writable = (fd.revents & POLLOUT) != 0;
            ares_process_fd(channel, readable ? fd.fd : ARES_SOCKET_BAD,
                            writable ? fd.fd : ARES_SOCKET_BAD);
        }
    }
    if (!any) {
        ares_process_fd(channel, ARES_SOCKET_BAD, ARES_SOCKET_BAD);  // retries, time-outs
    }
}

void driveUntilDone(ares_channel channel, WatchedSockets& sockets, const PendingQuery& query,
                    SteadyClock::time_point deadline) {
    while (!query.done) {
        if (SteadyClock::now() >= deadline) {
            ares_cancel(channel);
            return;
        }
        for (pollfd& fd : sockets.fds) {
            fd.revents = 0;
        }
        const int wait = nextWakeUp(channel, deadline);
        if (::poll(sockets.fds.data(), sockets.fds.size(), wait) < 0 && errno != EINTR) {
            ares_cancel(channel);
            return;
        }
        serve(channel, sockets);
    }
}

MxLookup lookUp(const std::string& domain, const NameServer& server,
                std::chrono::milliseconds timeout) {
    const auto deadline = SteadyClock::now() + timeout;
    if (!aresReady()) {
        return {};
    }
    WatchedSockets sockets;
    PendingQuery query;
    Channel channel = openChannel(server, timeout, sockets);
    if (!channel) {
        return {};
    }
    ares_query(channel.get(), domain.c_str(), ns_c_in, ns_t_mx, &answered, &query);
    driveUntilDone(channel.get(), sockets, query, deadline);
    channel.reset();  // a query still pending is told before `query` goes
    return query.result;
}

}  // namespace

MxLookup lookUpMailServers(const std::string& domain, const NameServer& server,
                           std::chrono::seconds timeout) {
    try {
        return lookUp(domain, server, timeout);
    } catch (...) {
        return {};
    }
}

}  // namespace brevanto
