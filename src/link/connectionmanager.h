// The connection manager: when the program talks to an inverter and on which
// port. The Connect button toggles the link, "Check" asks the inverter, the
// Test box switches test mode, and the watchdog with its reconnect timer
// drops and restores a link whose reading thread has stopped finishing cycles.
// All of it runs on the main thread; only the search inside a connect would
// be safe elsewhere (see ConnectionSearch).
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "link/connectionhooks.h"
#include "link/connectionsearch.h"
#include "link/connectionsettings.h"
#include "link/connectiontimers.h"
#include "link/watchdogcounters.h"
#include "platform/backgroundwork.h"
#include "platform/mainthreadinvoker.h"

namespace brevanto {

class ConnectionManager {
public:
    // The first reconnect comes this long after the link dropped; each one
    // that fails doubles the wait, up to the longest, so an unattended
    // monitor keeps looking for its inverter without flooding the journal.
    static constexpr int kReconnectDelayMs = 5000;
    static constexpr int kSlowReconnectDelayMs = 5 * 60 * 1000;
    // Test mode samples the daily tables this often.
    static constexpr int kTestLogIntervalMs = 200;

    // Sets TimerConnect's interval; the other timers keep theirs. The port
    // search and "Check" run through `background` (at once when none is
    // given), so the window goes on painting while the line is asked; the
    // background work must end before the manager does. A link lost on
    // another thread is handed to `mainThread` (dealt with at once when none
    // is given).
    ConnectionManager(InverterLink& link, LinkState& linkState, EventSink& events,
                      std::function<PortMap()> ports, std::function<ConnectionSettings()> settings,
                      ConnectionTimers timers, ConnectionHooks hooks,
                      BackgroundWork* background = nullptr,
                      MainThreadInvoker* mainThread = nullptr);
    ~ConnectionManager();
    ConnectionManager(const ConnectionManager&) = delete;
    ConnectionManager& operator=(const ConnectionManager&) = delete;

    // Connect1Click: connects when the button reads "Connect", else
    // disconnects. `then` runs on the main thread once it is done. A click
    // while a connect is still searching is ignored.
    void ConnectInverter(std::function<void()> then = {});
    bool CheckInverter() { return m_search.CheckInverter(); }
    // "Check".
    void Button1Click();
    // The Test box has just changed; its new state is in the link state.
    void TestClick();
    // Once a scheduler tick, right after the display refresh.
    void ReconnectWatchdog();
    void TimerConnectTimer();
    // The device went away under the running link: drop it, and reconnect
    // as after a stall when AutoReConnect is on. On the main thread.
    void linkLost(const LinkLoss& loss);
    // The scheduler's last step of a tick: the LoopCount the next tick compares.
    void setLastLoopCount(int loopCount) { m_watchdog.setLastLoopCount(loopCount); }
    const WatchdogCounters& watchdog() const { return m_watchdog; }
    // Automatic reconnects run since the start.
    int reconnects() const { return m_reconnects; }

private:
    void connect(std::function<void()> finish);
    void afterConnectOrDisconnect();
    void afterAutomaticReconnect();
    void startReconnecting();
    void cancelReconnecting();
    void report(const ConnectResult& result, const ConnectionSettings& settings);
    void reportLine(const std::string& line);
    void backToDisconnected();
    ConnectionSettings currentSettings() const;
    void disconnect();
    void startMeasuring();
    void setStopReading(bool stop);
    void write(std::string_view line) { m_events.WriteEvent(line); }

    InverterLink& m_link;
    LinkState& m_linkState;
    EventSink& m_events;
    std::function<PortMap()> m_ports;
    std::function<ConnectionSettings()> m_settings;
    ConnectionTimers m_timers;
    ConnectionHooks m_hooks;
    ConnectionSearch m_search;
    InlineBackgroundWork m_inline;
    BackgroundWork& m_background;
    bool m_connecting = false;
    WatchdogCounters m_watchdog;
    // The reconnect series: attempts made, the wait before the next one, and
    // whether the running attempt keeps its lines to one.
    int m_reconnectAttempt = 0;
    int m_reconnectDelayMs = kReconnectDelayMs;
    int m_reconnects = 0;
    bool m_quietAttempt = false;
    std::string m_resultLine;
};

}  // namespace brevanto
