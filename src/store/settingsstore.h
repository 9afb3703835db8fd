// The program's settings as its hub holds them: the live record AppSettings,
// the settings dialog's working copy PendingSettings, and the operations that
// load them at start-up, save them and put them into effect.
#pragma once

#include <functional>
#include <map>
#include <string>

#include "platform/coretimer.h"
#include "platform/eventsink.h"
#include "platform/localdatetime.h"
#include "store/settingsfile.h"
#include "store/tdati.h"
#include "store/webservercontrol.h"

namespace brevanto {

// What ApplySettings puts settings into beyond the timers, one seam per step
// in the order they run. A seam left empty is a part of the program that is
// not there (yet); its step is skipped.
struct ApplySeams {
    // First of all: copies of settings that other threads read (the web
    // password), renewed before the server restarts with them.
    std::function<void(const TDati&)> sharedCopies;
    WebServerControl* webServer = nullptr;
    // The main page's heading line becomes Title and its <title> line "Brevanto".
    std::function<void(const TDati&)> mainPageTitle;
    // The main window's labels and units of the six computed values.
    std::function<void(const TDati&)> computedLabels;
    // The main page's name lines of the computed and the basic values.
    std::function<void(const TDati&)> mainPageNames;
    // The main window's labels of the fifteen basic values.
    std::function<void(const TDati&)> basicLabels;
    // The main page's refresh line (its fifth).
    std::function<void(const std::string&)> mainPageRefreshLine;
    // The main window's ReqByWeb box; setting it runs its click handler.
    std::function<void(bool checked)> reqByWebBox;
};

// The main window's state that loading and applying the settings touch.
struct SettingsTargets {
    CoreTimer& Timer1;
    CoreTimer& Timer3;
    CoreTimer& TimerOff;
    EventSink& events;
    // The "Test mode" box is checked.
    std::function<bool()> testMode;
    // Connect1 reads "Disconnect".
    std::function<bool()> connected;
    ApplySeams seams;
};

class SettingsStore {
public:
    SettingsStore(SettingsFile file, SettingsTargets targets);

    TDati& AppSettings() { return m_appSettings; }
    const TDati& AppSettings() const { return m_appSettings; }
    TDati& PendingSettings() { return m_pendingSettings; }
    const TDati& PendingSettings() const { return m_pendingSettings; }

    // AutoReConnect as last loaded or applied.
    bool RememberedAutoReConnect() const { return m_rememberedAutoReConnect; }
    // The first sample after connecting still has to send the window to the tray.
    bool AutoConnectPending() const { return m_autoConnectPending; }
    void clearAutoConnectPending() { m_autoConnectPending = false; }
    // The note of the chosen web refresh, e.g. " (Refresh = 1 sec.)".
    const std::string& RefreshNote() const { return m_refreshNote; }
    // [Ports] as loaded, for the link's PortMap.
    const std::map<int, std::string>& portOverrides() const { return m_portOverrides; }

    // The main window's construction: the eight timer times onto today's
    // date once the file has been read.
    void loadAtConstruction(const LocalDate& today);

    // The web server, once the program has made it; ApplySettings restarts it.
    void setWebServer(WebServerControl* server) { m_targets.seams.webServer = server; }

    void LoadSettings();
    // False, with the event line "Error writing settings file.", when the
    // file could not be written.
    bool SaveSettings();
    void ApplySettings();
    void SetLogInterval();

private:
    void restartWebServer();
    void applyMeasuringInterval();
    void applyLogInterval();
    void applyOffTimer();
    void applyRefresh();

    SettingsFile m_file;
    SettingsTargets m_targets;
    TDati m_appSettings;
    TDati m_pendingSettings;
    bool m_rememberedAutoReConnect = false;
    bool m_autoConnectPending = false;
    std::string m_refreshNote;
    std::map<int, std::string> m_portOverrides;
};

}  // namespace brevanto
