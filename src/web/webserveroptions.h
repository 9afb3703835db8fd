// The web server's fixed configuration. Only tests change it: the time-outs,
// so that they can watch a time-out happen without waiting ten seconds, and
// the port 0 for any free port.
#pragma once

#include <chrono>
#include <cstddef>

namespace brevanto {

struct WebServerOptions {
    // Connections served at once, each on its own thread; more wait in the
    // listen queue or are refused, as the library sees fit.
    unsigned maxConnections = 50;
    int listenQueue = 30;
    // A connection that sends nothing for this long is closed, so idle or
    // stalled clients cannot hold the connection slots.
    unsigned connectionTimeoutSeconds = 10;
    // How long a stop waits for requests under way before it cuts them off.
    std::chrono::milliseconds terminateWait{10000};
    // No form needs more. A larger body is refused unread: with 413 when
    // its length is declared, by closing the connection when it is not.
    std::size_t maxBodyBytes = 64 * 1024;
    // Tests only: port 0 takes any free port, so that tests running side by
    // side never meet on one. The program refuses 0 as out of range.
    bool anyFreePortForTests = false;
};

}  // namespace brevanto
