// The program's composition root: it builds the components in the order the
// program starts, applies the settings to each of them in turn, and takes
// them down at the end. It holds no logic of its own: the windows take the
// hub, or the component they show, and forward their commands here. The
// whole life of the program runs and is tested without widgets. Everything
// here belongs to the main thread.
#pragma once

#include <atomic>
#include <filesystem>
#include <memory>

#include "acquisition/acquisition.h"
#include "charts/todayscurves.h"
#include "hub/maindisplay.h"
#include "hub/metricssnapshot.h"
#include "hub/reqbywebbox.h"
#include "link/connectionmanager.h"
#include "link/inverterlink.h"
#include "mail/maildelivery.h"
#include "mail/mailworker.h"
#include "platform/backgroundwork.h"
#include "platform/services.h"
#include "publish/mqttpublisher.h"
#include "schedule/maintimers.h"
#include "schedule/scheduler.h"
#include "store/dailydata.h"
#include "store/eventlog.h"
#include "store/settingsstore.h"
#include "web/webfront.h"

namespace brevanto {

struct HubEnvironment {
    const Clock& clock;
    DateTimeFormat format;
    Prompts& prompts;
    // The main thread's inbox; it must outlive the hub.
    QueuedInvoker& invoker;
    // Log/ and the fallback files go here: the program's working directory.
    std::filesystem::path workingDirectory;
    std::filesystem::path settingsPath;
    // The program serves its pages; tests that need no server leave it off,
    // since the default port is shared by the whole machine.
    bool serveWeb = false;
    // The server's fixed configuration; tests ask for any free port there.
    WebServerOptions webServer{};
    // How a mail goes out: the network by default; tests record.
    MailDelivery mailDelivery = brevanto::mailDelivery();
};

// What the program sets in the settings dialog, once it exists: the timer
// controls the web's timer form sets, and the boxes that follow the main
// window's "Read variables only when requested by web".
struct SettingsDialogSeam {
    TimerDialogSeam timers{};
    ReqByWebDialogBoxes reqByWeb{};
};

enum class CloseOutcome {
    ToTray,   // the window's own close button: the program goes on in the tray
    Aborted,  // "Close Brevanto?" answered No
    Closed,   // everything is taken down and written; the window may go
};

class Hub {
public:
    // The main window's construction: the components, the suspended reading
    // thread, Log/, the pages and the settings as loaded.
    explicit Hub(HubEnvironment environment);
    // Takes down whatever ShutDown has not, without writing any file.
    ~Hub();
    Hub(const Hub&) = delete;
    Hub& operator=(const Hub&) = delete;

    // The creation step after the construction: names the day's event file,
    // reloads it, and applies the settings (which starts the web server).
    void FormCreate();
    // Every show of the main window; the first one connects when AutoConnect
    // is on.
    void FormShow();
    // Puts the live settings into effect, component by component.
    void ApplySettings();
    // The settings dialog's "Apply": its working copy becomes the live
    // settings, which are put into effect and saved.
    void CommitPendingSettings();
    // Given by the settings dialog when it is made, and taken back (an
    // empty seam) when it goes.
    void setSettingsDialog(const SettingsDialogSeam& dialog);

    // The one-second tick while connected.
    void TimerTimer() { m_scheduler.TimerTimer(); }
    void TimerConnectTimer() { m_connection.TimerConnectTimer(); }

    // The window's commands.
    void Connect1Click() { m_connection.ConnectInverter(); }
    void Button1Click() { m_connection.Button1Click(); }
    void TestClick(bool checked);
    // "Clear>>": empties the event pane after asking; the file is not touched.
    void Button4Click();
    // "Display all errors on log ".
    void setShowAllErrors(bool show) { m_showAllErrors = show; }
    bool showAllErrors() const { return m_showAllErrors; }
    // Today, for the dialog's time pickers.
    LocalDate today() const { return m_services.clock.now().date; }
    // Today's computed-values file, which the test mail attaches when it is there.
    std::filesystem::path computedLogFile() const;

    // Set by the two "Close" commands.
    void setReallyClose(bool reallyClose) { m_reallyClose = reallyClose; }
    bool ReallyClose() const { return m_reallyClose; }
    // A close request: to the tray, or the question and, on Yes, ShutDown().
    CloseOutcome FormClose();
    // Stops the reading thread, the timers and the port and writes the
    // close-time files. Runs once; a signal's end and "Close" both come here.
    void ShutDown();
    bool isShutDown() const { return m_shutDown; }

    // The components, for the windows that show them and for tests.
    EventLog& eventLog() { return m_eventLog; }
    EventList& eventList() { return m_eventList; }
    PageTemplates& pages() { return m_pages; }
    LinkState& linkState() { return m_linkState; }
    SettingsStore& settings() { return m_settings; }
    MainTimers& timers() { return m_timers; }
    Acquisition& acquisition() { return m_acquisition; }
    MainDisplay& display() { return m_display; }
    ReqByWebBox& reqByWeb() { return m_reqByWeb; }
    WebFront& web() { return m_web; }
    DailyData& dailyData() { return m_dailyData; }
    Scheduler& scheduler() { return m_scheduler; }
    MailWorker& mail() { return m_mail; }
    TodaysCurves& todaysCurves() { return m_todaysCurves; }
    MqttPublisher& publisher() { return m_publisher; }
    // Where Log/ is: the earlier days' files are found under it.
    const std::filesystem::path& workingDirectory() const { return m_services.root; }
    const DateTimeFormat& format() const { return m_format; }

private:
    std::string chartPage() const;
    MetricsValues metrics() const;
    ConnectionHooks connectionHooks();
    SchedulerHooks schedulerHooks();
    void configurePublisher(const TDati& settings);
    void publishReading(const InverterReadings& readings);

    DateTimeFormat m_format;
    EventList m_eventList;
    EventLog m_eventLog;
    Services m_services;
    SettingsStore m_settings;
    PageTemplates m_pages;
    LinkState m_linkState;
    std::atomic<bool> m_showAllErrors{false};
    InverterLink m_link;
    MainTimers m_timers{m_linkState};
    DailyData m_dailyData{m_services};
    TodaysCurves m_todaysCurves{m_dailyData.basic().table()};
    Acquisition m_acquisition;
    MainDisplay m_display;
    MetricsSnapshot m_metrics;
    ReqByWebBox m_reqByWeb;
    std::unique_ptr<ThreadBackgroundWork> m_background;
    ConnectionManager m_connection;
    MailWorker m_mail;
    Scheduler m_scheduler;
    // Its journal lines reach the main thread through the inbox.
    MqttPublisher m_publisher;
    bool m_publishing = false;
    std::string m_publishingProblem;
    // Read the acquisition and the connection manager: go before them.
    Subscription m_metricsFeed;
    Subscription m_publisherFeed;
    // Last, so it stops first: its threads use everything above.
    WebFront m_web;

    bool m_reallyClose = false;
    bool m_firstShow = true;
    bool m_shutDown = false;
};

}  // namespace brevanto
