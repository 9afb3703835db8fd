#include "store/settingsstore.h"

#include <string_view>
#include <utility>

namespace brevanto {
namespace {

constexpr std::string_view kWriteFailed = "Error writing settings file.";

}  // namespace

SettingsStore::SettingsStore(SettingsFile file, EventSink& events)
    : m_file(std::move(file)), m_events(events) {}

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
    m_unreadTimes = std::move(loaded.unreadTimes);
    m_rememberedAutoReConnect = m_appSettings.autoReConnect;
    m_autoConnectPending = m_appSettings.autoConnect;
}

void SettingsStore::reportUnreadTimes() {
    for (const std::string& setting : m_unreadTimes) {
        m_events.WriteEvent("Settings file: " + setting + " is no time of day; 00:00:00 is used.");
    }
    m_unreadTimes.clear();
}

bool SettingsStore::SaveSettings() {
    if (m_file.write(m_appSettings)) {
        return true;
    }
    m_events.WriteEvent(kWriteFailed);
    return false;
}

}  // namespace brevanto
