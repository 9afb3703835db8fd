#include "link/connectionmanager.h"

#include <algorithm>
#include <memory>
#include <string>

#include "platform/optionalhooks.h"

namespace brevanto {

ConnectionManager::ConnectionManager(InverterLink& link, LinkState& linkState, EventSink& events,
                                     std::function<PortMap()> ports,
                                     std::function<ConnectionSettings()> settings,
                                     ConnectionTimers timers, ConnectionHooks hooks,
                                     BackgroundWork* background, MainThreadInvoker* mainThread)
    : m_link(link),
      m_linkState(linkState),
      m_events(events),
      m_ports(std::move(ports)),
      m_settings(std::move(settings)),
      m_timers(timers),
      m_hooks(std::move(hooks)),
      m_search(link, linkState, events),
      m_background(background != nullptr ? *background : m_inline) {
    m_timers.timerConnect.setInterval(kReconnectDelayMs);
    m_link.setLossListener([this, mainThread](const LinkLoss& loss) {
        if (mainThread != nullptr) {
            mainThread->post([this, loss] { linkLost(loss); });
        } else {
            linkLost(loss);
        }
    });
}

ConnectionManager::~ConnectionManager() {
    m_link.setLossListener({});
}

ConnectionSettings ConnectionManager::currentSettings() const {
    return m_settings ? m_settings() : ConnectionSettings{};
}

void ConnectionManager::setStopReading(bool stop) {
    callIfSet(m_hooks.setStopReading, stop);
}

void ConnectionManager::ConnectInverter(std::function<void()> then) {
    if (m_connecting) {
        return;
    }
    setStopReading(false);
    auto finish = [this, then = std::move(then)] {
        afterConnectOrDisconnect();
        if (then) {
            then();
        }
    };
    if (m_linkState.connected()) {
        // Whoever disconnects wants the port left alone; the watchdog starts
        // its reconnect afresh after this.
        cancelReconnecting();
        disconnect();
        finish();
    } else {
        connect(std::move(finish));
    }
}

void ConnectionManager::afterConnectOrDisconnect() {
    if (holds(m_hooks.offTimerArmed) && m_linkState.connected()) {
        m_timers.timerOff.setEnabled(true);
    }
}

// "Disconnect" (the connecting phase) goes up before the port opens: it is what lets "QID" through.
// The search itself runs in the background and reports on the main thread.
void ConnectionManager::connect(std::function<void()> finish) {
    m_linkState.setLabelCaption("Connecting...");
    m_linkState.setPhase(LinkPhase::Connecting);
    m_linkState.setTestEnabled(false);
    if (m_linkState.testMode()) {
        startMeasuring();
        m_linkState.setLabelCaption("Test Mode");
        m_linkState.setPhase(LinkPhase::Running);
        write("Connected in Test Mode.");
        finish();
        return;
    }
    const ConnectionSettings settings = currentSettings();
    const PortMap ports = m_ports ? m_ports() : PortMap{};
    m_connecting = true;
    auto result = std::make_shared<ConnectResult>();
    const SearchLines lines = m_quietAttempt ? SearchLines::Dropped : SearchLines::Written;
    m_background.run(
        [this, result, settings, ports, lines] {
            *result = settings.autoSearch
                          ? m_search.searchPorts(ports, lines)
                          : m_search.openConfigured(ports, settings.comPortIndex, lines);
        },
        [this, result, settings, finish = std::move(finish)] {
            m_connecting = false;
            report(*result, settings);
            finish();
        });
}

// The search keeps the plain "COMn" in its lines; the connected line names the
// device that was actually opened, whichever way it was found.
void ConnectionManager::report(const ConnectResult& result, const ConnectionSettings& settings) {
    switch (result.outcome) {
        case ConnectOutcome::Connected:
            reportLine("Connected to " + result.openedPath + " port and Inverter.");
            m_linkState.setLabelCaption("Connected");
            startMeasuring();
            m_linkState.setPhase(LinkPhase::Running);
            return;
        case ConnectOutcome::NoInverter:
            reportLine("Communication port " + settings.comPort +
                       " exists, but Inverter NOT found. Try another port.");
            m_linkState.setLabelCaption("Error");
            backToDisconnected();
            m_link.close();
            return;
        case ConnectOutcome::PortNotOpened:
            m_linkState.setLabelCaption("Error");
            reportLine("Port " + settings.comPort + " NOT found");
            backToDisconnected();
            return;
        case ConnectOutcome::NothingFound:
            m_linkState.setLabelCaption("Error");
            reportLine("Port not found in system.");
            backToDisconnected();
            return;
    }
}

// A quiet reconnect attempt keeps its result for its one line.
void ConnectionManager::reportLine(const std::string& line) {
    m_resultLine = line;
    if (!m_quietAttempt) {
        write(line);
    }
}

// After a failed connect. StopReading goes up again, as after any disconnect:
// the connect cleared it, and a reading thread still finishing its last
// cycle would otherwise run on with no link.
void ConnectionManager::backToDisconnected() {
    m_linkState.setPhase(LinkPhase::Failed);
    m_linkState.setTestEnabled(true);
    setStopReading(true);
}

void ConnectionManager::startMeasuring() {
    m_timers.timer.setEnabled(true);
    m_timers.timer1.setEnabled(true);
    callIfSet(m_hooks.startReading);
    callIfSet(m_hooks.updateDisplay);
}

void ConnectionManager::disconnect() {
    m_linkState.setLabelCaption("Disconnecting...");
    setStopReading(true);
    m_timers.timer.setEnabled(false);
    m_timers.timer1.setEnabled(false);
    m_timers.timer3.setEnabled(false);
    if (m_linkState.testMode()) {
        m_linkState.setPhase(LinkPhase::Idle);
        m_linkState.setLabelCaption("Test Mode");
        m_linkState.setTestEnabled(true);
        write("Disconnected in Test Mode.");
        return;
    }
    // "Connect" goes up before the port closes (here and after a connect that
    // found no inverter), so a cycle still running on the reading thread sees
    // the link down instead of writing to a closed port.
    m_linkState.setPhase(LinkPhase::Idle);
    m_link.close();
    m_linkState.setLabelCaption("---");
    m_linkState.setConnectEnabled(true);
    m_linkState.setTestEnabled(true);
}

void ConnectionManager::Button1Click() {
    if (m_linkState.testMode()) {
        write("Dummy connection test OK.");
        return;
    }
    auto answered = std::make_shared<bool>(false);
    m_background.run([this, answered] { *answered = CheckInverter(); },
                     [this, answered] {
                         if (!*answered) {
                             write("Inverter NOT connected on port " + currentSettings().comPort);
                         }
                     });
}

// Timer3 keeps the fast interval after leaving test mode, until the settings
// are next applied.
void ConnectionManager::TestClick() {
    cancelReconnecting();
    if (m_linkState.testMode()) {
        m_timers.timer3.setInterval(kTestLogIntervalMs);
        write("Entering in TEST mode.");
    } else {
        write("Leaving TEST mode.");
    }
}

void ConnectionManager::ReconnectWatchdog() {
    const std::optional<int> loopCount =
        m_hooks.loopCount ? m_hooks.loopCount() : std::optional<int>{};
    if (m_watchdog.tick(m_timers.timer1.interval() / 1000, loopCount,
                        currentSettings().autoReConnect)) {
        ConnectInverter();  // connected, so this disconnects
        startReconnecting();
    }
}

// A loss told late (the user has disconnected, or a connect has opened a
// port since) concerns a link that is no longer there.
void ConnectionManager::linkLost(const LinkLoss& loss) {
    if (m_linkState.phase() != LinkPhase::Running || m_linkState.testMode() || m_link.isOpen()) {
        return;
    }
    write("Connection to " + loss.devicePath + " lost: " + loss.reason + ".");
    cancelReconnecting();
    disconnect();
    if (currentSettings().autoReConnect) {
        startReconnecting();
    } else {
        m_linkState.setLabelCaption("Error");
        m_linkState.setPhase(LinkPhase::Failed);
    }
}

void ConnectionManager::startReconnecting() {
    m_reconnectAttempt = 0;
    m_reconnectDelayMs = kReconnectDelayMs;
    m_timers.timerConnect.setInterval(m_reconnectDelayMs);
    m_timers.timerConnect.setEnabled(true);
}

void ConnectionManager::cancelReconnecting() {
    m_timers.timerConnect.setEnabled(false);
    m_reconnectAttempt = 0;
    m_reconnectDelayMs = kReconnectDelayMs;
}

// A link that is up again by other means (the user clicked Connect in the
// wait) is left alone: the toggle would cut it. Only the series' first
// attempt writes the search's lines; a later one writes one line.
void ConnectionManager::TimerConnectTimer() {
    m_timers.timerConnect.setEnabled(false);
    if (m_linkState.connected()) {
        return;
    }
    m_quietAttempt = m_reconnectAttempt > 0;
    ++m_reconnectAttempt;
    ConnectInverter([this] { afterAutomaticReconnect(); });
}

void ConnectionManager::afterAutomaticReconnect() {
    ++m_reconnects;
    const bool connected = m_linkState.connected();
    if (!connected) {
        m_reconnectDelayMs = std::min(2 * m_reconnectDelayMs, kSlowReconnectDelayMs);
    }
    if (!m_quietAttempt) {
        write("AutoReconnect executed.");
    } else {
        const std::string next =
            connected ? ""
                      : " Next attempt in " + std::to_string(m_reconnectDelayMs / 1000) + " s.";
        write("AutoReconnect executed: " + m_resultLine + next);
    }
    m_quietAttempt = false;
    if (m_watchdog.reconnectExecuted()) {
        write(
            "FATAL: maximum number of reconnect attempt has been made. Check cable and "
            "Inverter.");
    }
    if (connected) {
        m_reconnectAttempt = 0;
        m_reconnectDelayMs = kReconnectDelayMs;
        return;
    }
    m_timers.timerConnect.setInterval(m_reconnectDelayMs);
    m_timers.timerConnect.setEnabled(true);
}

}  // namespace brevanto
