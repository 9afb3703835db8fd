#include "web/listensocket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

namespace brevanto {
namespace {

constexpr int kHighestPort = 65535;
constexpr int kFirstUnprivilegedPort = 1024;

struct Attempt {
    int fd = -1;
    int error = 0;
};

int boundPort(int fd) {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        return 0;
    }
    if (address.ss_family == AF_INET6) {
        return ntohs(reinterpret_cast<const sockaddr_in6*>(&address)->sin6_port);
    }
    return ntohs(reinterpret_cast<const sockaddr_in*>(&address)->sin_port);
}

Attempt listenOn(int family, int port, int backlog) {
    const int fd = ::socket(family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return {-1, errno};
    }
    const int on = 1;
    const int off = 0;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    int bound = 0;
    if (family == AF_INET6) {
        ::setsockopt(fd, IPPROTO_IPV6, IPV6_V6ONLY, &off, sizeof off);
        sockaddr_in6 address{};
        address.sin6_family = AF_INET6;
        address.sin6_addr = in6addr_any;
        address.sin6_port = htons(static_cast<std::uint16_t>(port));
        bound = ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    } else {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_ANY);
        address.sin_port = htons(static_cast<std::uint16_t>(port));
        bound = ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    }
    if (bound != 0 || ::listen(fd, backlog) != 0) {
        const int error = errno;
        ::close(fd);
        return {-1, error};
    }
    return {fd, 0};
}

// A machine without IPv6, or with IPv6 switched off, still serves IPv4.
bool ipv6Missing(int error) {
    return error == EAFNOSUPPORT || error == EADDRNOTAVAIL || error == EPROTONOSUPPORT;
}

std::string failure(int port, int error) {
    std::string text =
        "Cannot listen on port " + std::to_string(port) + ": " + std::strerror(error);
    if (error == EACCES && port < kFirstUnprivilegedPort) {
        text += " (ports below 1024 need extra privileges; choose a port from 1024 up)";
    }
    return text + ".";
}

}  // namespace

std::string portOutOfRange(int port) {
    return "Cannot listen on port " + std::to_string(port) + ": ports are numbered 1 to 65535.";
}

ListenSocket openListenSocket(int port, int backlog) {
    if (port < 0 || port > kHighestPort) {
        return {-1, 0, portOutOfRange(port)};
    }
    Attempt attempt = listenOn(AF_INET6, port, backlog);
    if (attempt.fd < 0 && ipv6Missing(attempt.error)) {
        attempt = listenOn(AF_INET, port, backlog);
    }
    if (attempt.fd < 0) {
        return {-1, 0, failure(port, attempt.error)};
    }
    return {attempt.fd, boundPort(attempt.fd), {}};
}

}  // namespace brevanto
