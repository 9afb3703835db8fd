#include "support/freeport.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace brevanto::testing {

int unusedPort() {
    const int probe = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    auto* generic = reinterpret_cast<sockaddr*>(&address);
    EXPECT_EQ(::bind(probe, generic, length), 0);
    EXPECT_EQ(::getsockname(probe, generic, &length), 0);
    ::close(probe);
    return ntohs(address.sin_port);
}

}  // namespace brevanto::testing
