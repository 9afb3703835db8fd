// The reconnect watchdog's counters and rules: when the reading thread has
// stopped finishing cycles for long enough, it is time to drop the link and
// reconnect; six reconnects in a row earn the FATAL line. Plain state of the
// main thread; the connection manager acts on its answers.
#pragma once

#include <optional>

namespace brevanto {

class WatchdogCounters {
public:
    static constexpr int kTicksBeforeReconnect = 8;
    static constexpr int kMaxReconnectAttempts = 6;

    // One scheduler tick. `seconds` is the measuring interval in whole
    // seconds, `loopCount` the reading thread's (none without a thread).
    // True when the link is to be dropped and the reconnect started.
    bool tick(int seconds, std::optional<int> loopCount, bool autoReConnect);
    // The reconnect has run; true when that was the last one of a series.
    bool reconnectExecuted();
    // Set by the scheduler at the end of its tick.
    void setLastLoopCount(int loopCount) { m_lastLoopCount = loopCount; }

    int StallTicks() const { return m_stallTicks; }
    int LastLoopCount() const { return m_lastLoopCount; }
    int ReconnectTicks() const { return m_reconnectTicks; }
    int ReconnectAttempts() const { return m_reconnectAttempts; }

private:
    bool healthy(int seconds, std::optional<int> loopCount);

    int m_stallTicks = 0;
    int m_lastLoopCount = 0;
    int m_reconnectTicks = 0;
    int m_reconnectAttempts = 0;
};

}  // namespace brevanto
