#include "web/peeraddress.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cstring>

namespace brevanto {
namespace {

std::string text(int family, const void* address) {
    char buffer[INET6_ADDRSTRLEN] = {};
    if (::inet_ntop(family, address, buffer, sizeof buffer) == nullptr) {
        return {};
    }
    return buffer;
}

}  // namespace

std::string peerAddressText(const sockaddr* address) {
    if (address == nullptr) {
        return {};
    }
    if (address->sa_family == AF_INET) {
        return text(AF_INET, &reinterpret_cast<const sockaddr_in*>(address)->sin_addr);
    }
    if (address->sa_family != AF_INET6) {
        return {};
    }
    const in6_addr& v6 = reinterpret_cast<const sockaddr_in6*>(address)->sin6_addr;
    if (IN6_IS_ADDR_V4MAPPED(&v6)) {
        in_addr v4{};
        std::memcpy(&v4, v6.s6_addr + 12, sizeof v4);
        return text(AF_INET, &v4);
    }
    return text(AF_INET6, &v6);
}

}  // namespace brevanto
