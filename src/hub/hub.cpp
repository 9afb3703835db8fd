#include "hub/hub.h"

#include <chrono>
#include <cstdio>
#include <system_error>

#include "hub/programidentity.h"
#include "hub/traytip.h"
#include "platform/optionalhooks.h"
#include "store/settingsfile.h"

namespace brevanto {

namespace {

constexpr const char* kNoLogDirectory =
    "Cannot create Directory for log file. Current directory will be used.";
// Long enough for a cycle's two exchanges on the slowest time-outs: only
// a wait longer than this is worth a word on standard error.
constexpr auto kServeReportInterval = std::chrono::seconds(30);

}  // namespace

Hub::Hub(HubEnvironment environment, HubView view)
    : m_clock(environment.clock),
      m_format(std::move(environment.format)),
      m_prompts(environment.prompts),
      m_invoker(environment.invoker),
      m_root(std::move(environment.workingDirectory)),
      m_view(std::move(view)),
      m_eventLog(m_eventList, m_clock, m_format, m_prompts, m_root),
      m_link(
          m_prompts, m_eventLog, [this] { return m_linkState.connected(); },
          [this] { return m_showAllErrors.load(); }),
      m_settings(SettingsFile(environment.settingsPath, m_format),
                 SettingsTargets{Timer1, Timer3, TimerOff, m_eventLog,
                                 [this] { return m_linkState.testMode(); },
                                 [this] { return m_linkState.connected(); }, applySeams()}),
      m_timeBase(m_clock),
      m_cycle(m_link, m_linkState, m_invoker, m_readings, m_timeBase, m_clock, m_format,
              {[this] { return static_cast<int>(m_settings.AppSettings().measTime); },
               [this] { return m_settings.RefreshNote(); }}),
      m_readPlot(std::make_unique<ReadPlot>([this] { m_cycle.ReadInverter(); },
                                            [this] { return gates(); })),
      m_background(std::make_unique<ThreadBackgroundWork>(m_invoker)),
      m_connection(
          m_link, m_linkState, m_eventLog, [this] { return PortMap(m_settings.portOverrides()); },
          [this] { return connectionSettings(); },
          ConnectionTimers{Timer, Timer1, Timer3, TimerConnect, TimerOff}, connectionHooks(),
          m_background.get()),
      m_webHandler(webHooks()),
      m_webServer(environment.serveWeb
                      ? std::make_unique<WebServer>(
                            [this](const WebRequest& request) {
                                return m_webHandler.IdHTTPServer1CommandGet(request);
                            },
                            m_eventLog)
                      : nullptr) {
    m_measuringIntervalMs = Timer1.interval();
    Timer1.addChangeListener([this] { m_measuringIntervalMs = Timer1.interval(); });
    makeLogDirectory();
    callIfSet(m_view.caption, windowCaption());
    m_pages.BuildPageTemplates();
    m_eventList.clear();
    callIfSet(m_view.clock, clockText());
    m_settings.loadAtConstruction(m_clock.now().date);
    m_pageWriter.writeFooters(webTitle());
    m_settings.setWebServer(m_webServer.get());
}

Hub::~Hub() {
    // No request may reach what goes next.
    m_webServer.reset();
    stopReadingThread();
    // A search still running refers to the connection manager: let it end,
    // serving what it asks of the main thread (a message box), then run what
    // it handed back while everything it touches still lives.
    serveUntil([this] { return m_background->idle(); }, "a port search");
    m_background.reset();
    m_invoker.runPending();
}

void Hub::makeLogDirectory() {
    std::error_code error;
    const auto directory = m_root / kLogDirectory;
    if (!std::filesystem::is_directory(directory, error) &&
        !std::filesystem::create_directory(directory, error)) {
        m_prompts.showMessage(kNoLogDirectory);
    }
}

ApplySeams Hub::applySeams() {
    ApplySeams seams;
    seams.sharedCopies = [this](const TDati& settings) { keepSharedCopies(settings); };
    // The server is made last and handed over then (setWebServer).
    seams.mainPageTitle = [this](const TDati& settings) { m_pageWriter.writeTitle(settings); };
    seams.computedLabels = [this](const TDati& settings) {
        callIfSet(m_view.computedLabels, settings.computedLabels, settings.computedUnits);
    };
    seams.mainPageNames = [this](const TDati& settings) { m_pageWriter.writeNames(settings); };
    seams.basicLabels = [this](const TDati& settings) {
        callIfSet(m_view.basicLabels, settings.basicLabels);
    };
    seams.mainPageRefreshLine = [this](const std::string& line) {
        m_pageWriter.writeRefreshLine(line);
    };
    seams.reqByWebBox = [this](bool checked) { setReqByWebBox(checked); };
    return seams;
}

ConnectionHooks Hub::connectionHooks() {
    ConnectionHooks hooks;
    hooks.startReading = [this] {
        m_timeBase.restart();
        m_readPlot->Resume();
    };
    hooks.setStopReading = [this](bool stop) { m_stopReading = stop; };
    hooks.updateDisplay = [this] { UpdateDisplay(); };
    hooks.loopCount = [this]() -> std::optional<int> { return m_readPlot->LoopCount(); };
    hooks.offTimerArmed = [this] { return m_settings.AppSettings().OffTimerArmed; };
    return hooks;
}

ReqByWebHooks Hub::reqByWebHooks() {
    ReqByWebHooks hooks;
    hooks.autoReConnect = [this] { return m_settings.AppSettings().autoReConnect; };
    hooks.setAutoReConnect = [this](bool on) { m_settings.AppSettings().autoReConnect = on; };
    hooks.rememberedAutoReConnect = [this] { return m_settings.RememberedAutoReConnect(); };
    hooks.storeReqByWeb = [this](bool checked) { m_settings.AppSettings().reqByWeb = checked; };
    hooks.resumeReader = [this] { resumeReaderIfSuspended(); };
    return hooks;
}

// Web threads call these; none of them waits for the main thread, or a
// server stopping on the main thread would wait for its own threads.
WebHooks Hub::webHooks() {
    WebHooks hooks{m_pages, m_eventList, m_eventLog, m_clock, m_format, m_invoker};
    hooks.webPassword = [this] { return webPassword(); };
    hooks.reqByWebChecked = [this] { return m_reqByWebChecked.load(); };
    hooks.resumeReader = [this] { wakeReaderForWeb(); };
    hooks.requestDisplayRefresh = [this] { m_displayRefresh.request(); };
    hooks.appSettings = [this]() -> TDati& { return m_settings.AppSettings(); };
    hooks.saveSettings = [this] { m_settings.SaveSettings(); };
    // The dialog comes later than the server's hooks: they ask for it when used.
    hooks.timerDialog.enableBox = [this](int timer, bool checked) {
        callIfSet(m_timerDialog.enableBox, timer, checked);
    };
    hooks.timerDialog.pickers = [this](int timer, const LocalDateTime& on,
                                       const LocalDateTime& off) {
        callIfSet(m_timerDialog.pickers, timer, on, off);
    };
    return hooks;
}

void Hub::keepSharedCopies(const TDati& settings) {
    std::lock_guard lock(m_sharedMutex);
    m_webPassword = settings.webPassword;
}

std::string Hub::webPassword() const {
    std::lock_guard lock(m_sharedMutex);
    return m_webPassword;
}

ConnectionSettings Hub::connectionSettings() const {
    const TDati& settings = m_settings.AppSettings();
    return {settings.comPort, settings.comPortIndex, settings.autoSearch, settings.autoReConnect};
}

ReadPlot::Gates Hub::gates() const {
    return {m_reqByWebChecked.load(), m_stopReading.load(), m_measuringIntervalMs.load()};
}

void Hub::FormCreate() {
    m_eventLog.NameEventFile();
    m_eventLog.LoadEventLog();
    m_settings.ApplySettings();
}

void Hub::FormShow() {
    callIfSet(m_view.fillSettingsDialog);
    if (m_settings.AppSettings().autoConnect && m_firstShow) {
        m_connection.ConnectInverter([this] { UpdateDisplay(); });
        m_firstShow = false;
    }
}

void Hub::UpdateDisplay() {
    m_shown = displayTexts(m_readings);
    m_pageWriter.writeDisplay(m_shown, m_readings.MeasTimeText);
    callIfSet(m_view.display, m_shown);
}

void Hub::TimerTimer() {
    callIfSet(m_view.clock, clockText());
    UpdateDisplay();
    m_connection.ReconnectWatchdog();
    m_connection.setLastLoopCount(m_readPlot->LoopCount());
}

void Hub::TestClick(bool checked) {
    m_linkState.setTestChecked(checked);
    m_connection.TestClick();
}

void Hub::ReqByWebClick(bool checked) {
    m_reqByWebChecked = checked;
    brevanto::ReqByWebClick(checked, m_eventLog, reqByWebHooks());
}

void Hub::setReqByWebBox(bool checked) {
    if (checked == m_reqByWebChecked.load()) {
        return;
    }
    callIfSet(m_view.reqByWebBox, checked);
    ReqByWebClick(checked);
}

void Hub::resumeReaderIfSuspended() {
    if (m_readPlot->Suspended()) {
        m_readPlot->Resume();
    }
}

// A link that is down keeps its thread asleep: a request then gets the last
// readings, as it would between two cycles.
void Hub::wakeReaderForWeb() {
    if (m_reqByWebChecked && !m_stopReading) {
        resumeReaderIfSuspended();
    }
}

void Hub::Button4Click() {
    if (m_prompts.ask("Event log will be deleted. Are you sure?") != PromptAnswer::No) {
        m_eventList.clear();
    }
}

CloseOutcome Hub::FormClose() {
    if (!m_reallyClose) {
        return CloseOutcome::ToTray;
    }
    if (m_prompts.ask("Close Brevanto?") == PromptAnswer::No) {
        m_reallyClose = false;
        m_eventLog.WriteEvent("Closing program aborted.");
        return CloseOutcome::Aborted;
    }
    ShutDown();
    return CloseOutcome::Closed;
}

void Hub::ShutDown() {
    if (m_shutDown) {
        return;
    }
    m_shutDown = true;
    // The thread must not suspend itself again on its way out, nor sleep long.
    m_stopReading = false;
    Timer1.setInterval(kTickIntervalMs);
    stopReadingThread();
    Timer.setEnabled(false);
    Timer1.setEnabled(false);
    Timer3.setEnabled(false);
    if (m_linkState.connected() && !m_linkState.testMode()) {
        m_link.close();
    }
    if (m_settings.AppSettings().logEvent) {
        m_eventLog.SaveEventLog();
    }
}

void Hub::stopReadingThread() {
    // A suspended thread ends on Terminate at once, without another cycle; a
    // running one finishes its cycle, whose hand-overs this thread serves.
    m_readPlot->Terminate();
    serveUntil([this] { return m_readPlot->Finished(); }, "the reading thread");
    m_readPlot->WaitFor();
}

void Hub::serveUntil(const std::function<bool()>& done, const char* waitingFor) {
    while (!m_invoker.runUntil(done, kServeReportInterval)) {
        std::fprintf(stderr, "brevanto: still waiting for %s to end\n", waitingFor);
    }
}

std::string Hub::TrayTip() const {
    return brevanto::TrayTip(m_linkState.snapshot());
}

std::string Hub::clockText() const {
    return m_format.formatDateTime(m_clock.now());
}

}  // namespace brevanto
