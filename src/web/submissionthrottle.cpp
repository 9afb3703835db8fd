#include "web/submissionthrottle.h"

namespace brevanto {

SubmissionThrottle::SubmissionThrottle(const Clock& clock, EventSink& events)
    : m_clock(clock), m_events(events), m_lastSweep(clock.monotonicNow()) {}

bool SubmissionThrottle::admit(const std::string& address, bool passwordMatched) {
    bool shutOut = false;
    {
        std::lock_guard lock(m_mutex);
        const Time now = m_clock.monotonicNow();
        forgetQuietClients(now);
        Client& client = m_clients[address];
        if (now < client.shutOutUntil) {
            return false;
        }
        if (passwordMatched) {
            return true;
        }
        shutOut = countRefusal(client, now);
    }
    // Outside the lock: the journal has a lock of its own and listeners.
    if (shutOut) {
        m_events.WriteEvent("Web password refused " + std::to_string(kRefusalsAllowed) +
                            " times within a minute from " + address +
                            "; its forms are refused for a minute.");
    }
    return false;
}

bool SubmissionThrottle::countRefusal(Client& client, Time now) {
    while (!client.refusals.empty() && now - client.refusals.front() >= kWindow) {
        client.refusals.pop_front();
    }
    client.refusals.push_back(now);
    if (client.refusals.size() < kRefusalsAllowed) {
        return false;
    }
    client.refusals.clear();
    client.shutOutUntil = now + kWindow;
    return true;
}

// Once a minute at most, so that a flood from many addresses costs each
// request a map look-up, not a walk over every address.
void SubmissionThrottle::forgetQuietClients(Time now) {
    if (now - m_lastSweep < kWindow) {
        return;
    }
    m_lastSweep = now;
    std::erase_if(m_clients, [now](const auto& entry) {
        const Client& client = entry.second;
        return now >= client.shutOutUntil &&
               (client.refusals.empty() || now - client.refusals.back() >= kWindow);
    });
}

}  // namespace brevanto
