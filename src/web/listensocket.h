// The server's listening socket on all local addresses: IPv6 with IPv4
// mapped in where the machine has IPv6, IPv4 alone otherwise. Opened here
// rather than by the HTTP library so that a failure can say why, in the
// system's words.
#pragma once

#include <string>

namespace brevanto {

struct ListenSocket {
    int fd = -1;
    int port = 0;  // as bound: the system's choice when 0 was asked for
    // Why there is no socket, e.g. "Cannot listen on port 80: Address
    // already in use."; empty when fd is open.
    std::string failure;
};

// Port 0 takes any free port. The socket is non-blocking and not inherited
// by child processes.
ListenSocket openListenSocket(int port, int backlog);

// "Cannot listen on port 0: ports are numbered 1 to 65535.": the failure of
// a port that names none.
std::string portOutOfRange(int port);

}  // namespace brevanto
