#include "store/settingsstore.h"

#include <string_view>
#include <utility>

#include "platform/optionalhooks.h"
#include "store/settingsintervals.h"
#include "store/storedform.h"

namespace brevanto {
namespace {

constexpr std::string_view kWriteFailed = "Error writing settings file.";
constexpr std::string_view kDeactivateFailed = "Failed to DE-activate WEB server.";
constexpr std::string_view kActivateFailed = "Failed to activate WEB server.";

// Runs `change` on a timer that is stopped meanwhile and then runs again if
// it ran before, so a new interval takes effect from a fresh start.
template <typename Change>
void whileStopped(CoreTimer& timer, Change change) {
    const bool wasEnabled = timer.enabled();
    timer.setEnabled(false);
    change();
    timer.setEnabled(wasEnabled);
}

}  // namespace

SettingsStore::SettingsStore(SettingsFile file, SettingsTargets targets)
    : m_file(std::move(file)), m_targets(std::move(targets)) {}

void SettingsStore::loadAtConstruction(const LocalDate& today) {
    LoadSettings();
    for (auto* times : {&m_appSettings.timeOn, &m_appSettings.timeOff}) {
        for (LocalDateTime& time : *times) {
            time.date = today;
        }
    }
}

void SettingsStore::LoadSettings() {
    LoadedSettings loaded = m_file.read();
    // Not a stored field: whatever the program set stays.
    loaded.settings.OffTimerArmed = m_appSettings.OffTimerArmed;
    m_appSettings = std::move(loaded.settings);
    m_portOverrides = std::move(loaded.portOverrides);
    SetLogInterval();
    m_rememberedAutoReConnect = m_appSettings.autoReConnect;
    m_autoConnectPending = m_appSettings.autoConnect;
}

bool SettingsStore::SaveSettings() {
    if (m_file.write(m_appSettings)) {
        return true;
    }
    m_targets.events.WriteEvent(kWriteFailed);
    return false;
}

void SettingsStore::SetLogInterval() {
    if (holds(m_targets.testMode)) {
        m_targets.Timer3.setInterval(kTestModeLogIntervalMs);
    } else if (const auto interval = logIntervalMs(m_appSettings.updateLog)) {
        m_targets.Timer3.setInterval(*interval);
    }
}

void SettingsStore::ApplySettings() {
    const ApplySeams& seams = m_targets.seams;
    callIfSet(seams.sharedCopies, m_appSettings);
    restartWebServer();
    applyMeasuringInterval();
    applyLogInterval();
    applyOffTimer();
    callIfSet(seams.mainPageTitle, m_appSettings);
    callIfSet(seams.computedLabels, m_appSettings);
    callIfSet(seams.mainPageNames, m_appSettings);
    callIfSet(seams.basicLabels, m_appSettings);
    applyRefresh();
    // The dialog's copy, which at start-up is not filled yet: the box then
    // stays clear until the dialog is first filled.
    callIfSet(seams.reqByWebBox, m_pendingSettings.reqByWeb);
}

// Restarted on every call, also when nothing changed.
void SettingsStore::restartWebServer() {
    WebServerControl* server = m_targets.seams.webServer;
    if (server != nullptr && server->isActive() && !server->deactivate()) {
        m_targets.events.WriteEvent(kDeactivateFailed);
    }
    // A hand-edited port that is no number names no port to listen on: the
    // server stays off and says so, and the other settings still apply.
    const auto port = parseStoredInteger(m_appSettings.httpPort);
    if (!port) {
        m_targets.events.WriteEvent(kActivateFailed);
        return;
    }
    if (server != nullptr && !server->activate(*port)) {
        m_targets.events.WriteEvent(kActivateFailed);
        if (const std::string reason = server->failureReason(); !reason.empty()) {
            m_targets.events.WriteEvent(reason);
        }
    }
}

void SettingsStore::applyMeasuringInterval() {
    whileStopped(m_targets.Timer1, [this] {
        if (const auto interval = measuringIntervalMs(m_appSettings.measTime)) {
            m_targets.Timer1.setInterval(*interval);
        }
    });
}

void SettingsStore::applyLogInterval() {
    whileStopped(m_targets.Timer3, [this] {
        SetLogInterval();
        m_rememberedAutoReConnect = m_appSettings.autoReConnect;
    });
}

void SettingsStore::applyOffTimer() {
    CoreTimer& timer = m_targets.TimerOff;
    timer.setEnabled(false);
    const int interval = offTimerIntervalMs(m_appSettings.conditionTime);
    timer.setInterval(interval);
    if (interval == 0) {
        m_appSettings.OffTimerArmed = false;
        return;
    }
    m_appSettings.OffTimerArmed = !m_appSettings.forceOn;
    if (holds(m_targets.connected)) {
        timer.setEnabled(true);
    }
}

void SettingsStore::applyRefresh() {
    RefreshChoice choice = refreshChoice(m_appSettings.refreshWeb);
    m_refreshNote = std::move(choice.refreshNote);
    callIfSet(m_targets.seams.mainPageRefreshLine, choice.pageLine);
}

}  // namespace brevanto
