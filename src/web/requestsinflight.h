// Counts the requests a server is answering, so that a stop can let them
// finish before it closes their connections.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace brevanto {

class RequestsInFlight {
public:
    void begin();
    void end();
    // True when none was left before the time-out.
    bool waitUntilNone(std::chrono::milliseconds timeout);

private:
    std::mutex m_mutex;
    std::condition_variable m_none;
    int m_count = 0;
};

}  // namespace brevanto
