#include "link/connectionmanager.h"

#include <memory>
#include <string>

#include "platform/optionalhooks.h"

namespace brevanto {

ConnectionManager::ConnectionManager(InverterLink& link, LinkState& linkState, EventSink& events,
                                     std::function<PortMap()> ports,
                                     std::function<ConnectionSettings()> settings,
                                     ConnectionTimers timers, ConnectionHooks hooks,
                                     BackgroundWork* background)
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
    m_background.run(
        [this, result, settings, ports] {
            *result = settings.autoSearch ? m_search.searchPorts(ports)
                                          : m_search.openConfigured(ports, settings.comPortIndex);
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
            write("Connected to " + result.openedPath + " port and Inverter.");
            m_linkState.setLabelCaption("Connected");
            startMeasuring();
            m_linkState.setPhase(LinkPhase::Running);
            return;
        case ConnectOutcome::NoInverter:
            write("Communication port " + settings.comPort +
                  " exists, but Inverter NOT found. Try another port.");
            m_linkState.setLabelCaption("Error");
            backToDisconnected();
            m_link.close();
            return;
        case ConnectOutcome::PortNotOpened:
            m_linkState.setLabelCaption("Error");
            write("Port " + settings.comPort + " NOT found");
            backToDisconnected();
            return;
        case ConnectOutcome::NothingFound:
            m_linkState.setLabelCaption("Error");
            write("Port not found in system.");
            backToDisconnected();
            return;
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
        m_timers.timerConnect.setInterval(kReconnectDelayMs);
        m_timers.timerConnect.setEnabled(true);
    }
}

// A link that is up again by other means (the user clicked Connect in the
// five seconds) is left alone: the toggle would cut it. A reconnect that
// finds nothing tries again, every five seconds until the series' last
// attempt and then every few minutes, so an unattended monitor is back as
// soon as the inverter or its cable is.
void ConnectionManager::TimerConnectTimer() {
    m_timers.timerConnect.setEnabled(false);
    if (m_linkState.connected()) {
        return;
    }
    ConnectInverter([this] { afterAutomaticReconnect(); });
}

void ConnectionManager::afterAutomaticReconnect() {
    write("AutoReconnect executed.");
    const bool seriesEnded = m_watchdog.reconnectExecuted();
    if (seriesEnded) {
        write(
            "FATAL: maximum number of reconnect attempt has been made. Check cable and "
            "Inverter.");
    }
    if (!m_linkState.connected()) {
        const bool slow = seriesEnded || m_timers.timerConnect.interval() == kSlowReconnectDelayMs;
        m_timers.timerConnect.setInterval(slow ? kSlowReconnectDelayMs : kReconnectDelayMs);
        m_timers.timerConnect.setEnabled(true);
    }
}

}  // namespace brevanto
