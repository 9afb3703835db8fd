#include "link/watchdogcounters.h"

namespace brevanto {
namespace {

// The FATAL line's mark; any negative value lets the next tick start afresh.
constexpr int kSeriesEnded = -99;
// Between the watchdog's disconnect and the reconnect nothing is counted.
constexpr int kReconnectPending = -1;

}  // namespace

// A thread that measures every second or faster is stalled at once when a
// tick sees no finished cycle; a slower one gets two intervals' grace.
bool WatchdogCounters::healthy(int seconds, std::optional<int> loopCount) {
    if (!loopCount) {
        return true;
    }
    if (*loopCount != m_lastLoopCount) {
        m_stallTicks = 0;
        return true;
    }
    if (seconds <= 1) {
        return false;
    }
    ++m_stallTicks;
    return 2 * seconds > m_stallTicks;
}

bool WatchdogCounters::tick(int seconds, std::optional<int> loopCount, bool autoReConnect) {
    const bool isHealthy = healthy(seconds, loopCount);
    if (autoReConnect && !isHealthy && m_reconnectTicks >= 0) {
        if (++m_reconnectTicks == kTicksBeforeReconnect) {
            m_reconnectTicks = kReconnectPending;
            return true;
        }
        return false;
    }
    // An unattended monitor must come back with the inverter, so even the
    // end of a series only waits for the next stall to start a new one.
    m_reconnectTicks = 0;
    m_reconnectAttempts = 0;
    return false;
}

bool WatchdogCounters::reconnectExecuted() {
    m_reconnectTicks = 0;
    if (++m_reconnectAttempts == kMaxReconnectAttempts) {
        m_reconnectTicks = kSeriesEnded;
        return true;
    }
    return false;
}

}  // namespace brevanto
