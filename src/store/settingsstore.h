// The program's settings: the live record AppSettings, the settings dialog's
// working copy PendingSettings, and the two operations on the settings file,
// LoadSettings at start-up and SaveSettings. Putting the settings into effect
// is each component's own configure(); the hub lists them in ApplySettings.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/eventsink.h"
#include "platform/localdatetime.h"
#include "store/settingsfile.h"
#include "store/tdati.h"

namespace brevanto {

class SettingsStore {
public:
    SettingsStore(SettingsFile file, EventSink& events);

    TDati& AppSettings() { return m_appSettings; }
    const TDati& AppSettings() const { return m_appSettings; }
    TDati& PendingSettings() { return m_pendingSettings; }
    const TDati& PendingSettings() const { return m_pendingSettings; }

    // AutoReConnect as last loaded or applied.
    bool RememberedAutoReConnect() const { return m_rememberedAutoReConnect; }
    // Applying the settings makes the live AutoReConnect the remembered one.
    void rememberAutoReConnect() { m_rememberedAutoReConnect = m_appSettings.autoReConnect; }
    // The first sample after connecting still has to send the window to the tray.
    bool AutoConnectPending() const { return m_autoConnectPending; }
    void clearAutoConnectPending() { m_autoConnectPending = false; }
    // [Ports] as loaded, for the link's PortMap.
    const std::map<int, std::string>& portOverrides() const { return m_portOverrides; }

    // The main window's construction: the eight timer times onto today's
    // date once the file has been read.
    void loadAtConstruction(const LocalDate& today);

    // Reads the file; a time that does not read is noted for reportUnreadTimes.
    void LoadSettings();
    // One event line for each time the last load could not read, naming its
    // key. The hub calls it once the day's journal has been read back, which
    // replaces the list and would lose lines written before.
    void reportUnreadTimes();
    // False, with the event line "Error writing settings file.", when the
    // file could not be written.
    bool SaveSettings();

private:
    SettingsFile m_file;
    EventSink& m_events;
    TDati m_appSettings;
    TDati m_pendingSettings;
    bool m_rememberedAutoReConnect = false;
    bool m_autoConnectPending = false;
    std::map<int, std::string> m_portOverrides;
    std::vector<std::string> m_unreadTimes;
};

}  // namespace brevanto
