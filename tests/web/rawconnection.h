// A bare TCP connection to the server, for what no well-behaved client
// sends: broken request lines, stalled requests, connections held open.
#pragma once

#include <chrono>
#include <string>
#include <string_view>

namespace brevanto::testing {

class RawConnection {
public:
    // Connects to 127.0.0.1:port; connected() tells whether it worked.
    explicit RawConnection(int port);
    ~RawConnection();
    RawConnection(const RawConnection&) = delete;
    RawConnection& operator=(const RawConnection&) = delete;

    bool connected() const { return m_fd >= 0; }
    bool send(std::string_view bytes);
    // Reads until the server closes the connection or `guard` passes.
    // closedByServer() then tells which of the two it was.
    std::string readToEnd(std::chrono::milliseconds guard);
    // Reads one whole response (head and a body of its Content-Length).
    std::string readResponse(std::chrono::milliseconds guard);
    bool closedByServer() const { return m_closed; }
    void close();

private:
    bool readSome(std::chrono::steady_clock::time_point deadline);

    int m_fd = -1;
    bool m_closed = false;
    std::string m_pending;
};

}  // namespace brevanto::testing
