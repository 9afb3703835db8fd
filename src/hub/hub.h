// Everything the main window owns, without the window: the port and the
// reading thread, the readings, the settings, the event journal, the web
// pages and the timers, built and taken down in the program's order. The
// window binds its controls to this state and forwards its commands here,
// so the whole life of the program runs and is tested without widgets.
// Everything here belongs to the main thread unless it says otherwise.
#pragma once

#include <atomic>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>

#include "acquisition/inverterreadings.h"
#include "acquisition/measurementcycle.h"
#include "acquisition/readplot.h"
#include "acquisition/readtimebase.h"
#include "acquisition/reqbyweb.h"
#include "hub/displaytexts.h"
#include "hub/hubview.h"
#include "hub/mainpagewriter.h"
#include "link/connectionmanager.h"
#include "link/inverterlink.h"
#include "link/linkstate.h"
#include "platform/backgroundwork.h"
#include "platform/clock.h"
#include "platform/coalescedpost.h"
#include "platform/coretimer.h"
#include "platform/datetimeformat.h"
#include "platform/prompts.h"
#include "platform/queuedinvoker.h"
#include "store/eventlist.h"
#include "store/eventlog.h"
#include "store/settingsstore.h"
#include "web/pagetemplates.h"
#include "web/webrequesthandler.h"
#include "web/webserver.h"

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
};

enum class CloseOutcome {
    ToTray,   // the window's own close button: the program goes on in the tray
    Aborted,  // "Close Brevanto?" answered No
    Closed,   // everything is taken down and written; the window may go
};

class Hub {
public:
    static constexpr int kTickIntervalMs = 1000;
    static constexpr const char* kLogDirectory = "Log";

    // The main window's construction: the state, the suspended reading
    // thread, Log/, the pages and the settings as loaded. `view` is filled
    // by the window, which is built first.
    Hub(HubEnvironment environment, HubView view);
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

    void UpdateDisplay();
    // The one-second tick while connected.
    void TimerTimer();
    void TimerConnectTimer() { m_connection.TimerConnectTimer(); }

    // The window's commands.
    void Connect1Click() { m_connection.ConnectInverter(); }
    void Button1Click() { m_connection.Button1Click(); }
    void TestClick(bool checked);
    // The ReqByWeb box was clicked into `checked`.
    void ReqByWebClick(bool checked);
    // Sets the box as a program would: its click handler runs when it changes.
    void setReqByWebBox(bool checked);
    // "Clear>>": empties the event pane after asking; the file is not touched.
    void Button4Click();

    // Set by the two "Close" commands.
    void setReallyClose(bool reallyClose) { m_reallyClose = reallyClose; }
    bool ReallyClose() const { return m_reallyClose; }
    // A close request: to the tray, or the question and, on Yes, ShutDown().
    CloseOutcome FormClose();
    // Stops the reading thread, the timers and the port and writes the
    // close-time files. Runs once; a signal's end and "Close" both come here.
    void ShutDown();
    bool isShutDown() const { return m_shutDown; }

    std::string TrayTip() const;
    std::string clockText() const;

    EventList& eventList() { return m_eventList; }
    EventLog& eventLog() { return m_eventLog; }
    PageTemplates& pages() { return m_pages; }
    LinkState& linkState() { return m_linkState; }
    SettingsStore& settings() { return m_settings; }
    const InverterReadings& readings() const { return m_readings; }
    const DisplayTexts& shownTexts() const { return m_shown; }
    ConnectionManager& connection() { return m_connection; }
    // The reading thread's finished cycles.
    int loopCount() const { return m_readPlot->LoopCount(); }
    bool readerSuspended() const { return m_readPlot->Suspended(); }
    // A web request: wakes a reading thread suspended in the ReqByWeb mode
    // for one cycle, without waiting for it. Safe on any thread.
    void wakeReaderForWeb();
    void setShowAllErrors(bool show) { m_showAllErrors = show; }
    // The settings dialog's timer controls, which a web timer form sets;
    // on the main thread, once the dialog exists.
    void setTimerDialog(TimerDialogSeam dialog) { m_timerDialog = std::move(dialog); }
    // The web server, when the program serves its pages.
    WebServer* webServer() { return m_webServer.get(); }

    CoreTimer Timer{kTickIntervalMs};
    CoreTimer Timer1;
    CoreTimer Timer3;
    CoreTimer TimerOff;
    CoreTimer TimerConnect;

private:
    void makeLogDirectory();
    ApplySeams applySeams();
    ConnectionHooks connectionHooks();
    ReqByWebHooks reqByWebHooks();
    WebHooks webHooks();
    void keepSharedCopies(const TDati& settings);
    std::string webPassword() const;
    ConnectionSettings connectionSettings() const;
    ReadPlot::Gates gates() const;
    void resumeReaderIfSuspended();
    // Ends the reading thread while serving its hand-overs.
    void stopReadingThread();
    // Serves the main thread's inbox until `done`, as long as that takes.
    void serveUntil(const std::function<bool()>& done, const char* waitingFor);

    const Clock& m_clock;
    DateTimeFormat m_format;
    Prompts& m_prompts;
    QueuedInvoker& m_invoker;
    std::filesystem::path m_root;
    HubView m_view;

    EventList m_eventList;
    EventLog m_eventLog;
    PageTemplates m_pages;
    MainPageWriter m_pageWriter{m_pages};
    LinkState m_linkState;
    std::atomic<bool> m_showAllErrors{false};
    InverterLink m_link;
    SettingsStore m_settings;
    InverterReadings m_readings;
    ReadTimeBase m_timeBase;
    DisplayTexts m_shown;
    MeasurementCycle m_cycle;

    // What the reading thread reads between cycles, kept by the main thread.
    std::atomic<bool> m_reqByWebChecked{false};
    std::atomic<bool> m_stopReading{true};
    std::atomic<int> m_measuringIntervalMs{0};
    std::unique_ptr<ReadPlot> m_readPlot;

    std::unique_ptr<ThreadBackgroundWork> m_background;
    ConnectionManager m_connection;

    // What web threads read of the settings, kept by the main thread.
    mutable std::mutex m_sharedMutex;
    std::string m_webPassword;
    CoalescedPost m_displayRefresh{m_invoker, [this] { UpdateDisplay(); }};
    TimerDialogSeam m_timerDialog;
    // Last, so it stops first: its threads use everything above.
    WebRequestHandler m_webHandler;
    std::unique_ptr<WebServer> m_webServer;

    bool m_reallyClose = false;
    bool m_firstShow = true;
    bool m_shutDown = false;
};

}  // namespace brevanto
