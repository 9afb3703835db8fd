// Keeps a client from guessing the web password: after five refused
// submissions from one address within a minute, that address's submissions
// are refused for a minute, whatever they carry, and the journal says so
// once. Used on the connection threads, many at once.
#pragma once

#include <chrono>
#include <deque>
#include <map>
#include <mutex>
#include <string>

#include "platform/clock.h"
#include "platform/eventsink.h"

namespace brevanto {

class SubmissionThrottle {
public:
    static constexpr std::size_t kRefusalsAllowed = 5;
    static constexpr std::chrono::seconds kWindow{60};

    SubmissionThrottle(const Clock& clock, EventSink& events);

    // Whether a submission from `address` is let through: it must carry the
    // password and its address must not be shut out. Counts the refusal
    // when it carries a wrong one.
    bool admit(const std::string& address, bool passwordMatched);

private:
    using Time = Clock::MonotonicTime;
    struct Client {
        std::deque<Time> refusals;
        Time shutOutUntil{};
    };

    // True when this refusal shuts the address out.
    bool countRefusal(Client& client, Time now);
    void forgetQuietClients(Time now);

    const Clock& m_clock;
    EventSink& m_events;
    std::mutex m_mutex;
    std::map<std::string, Client> m_clients;
    Time m_lastSweep{};
};

}  // namespace brevanto
