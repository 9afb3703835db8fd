#include "hub/hub.h"

#include "charts/daychartpage.h"
#include "hub/programidentity.h"
#include "link/portmap.h"
#include "publish/journalevents.h"
#include "store/componentsettings.h"
#include "store/logdirectory.h"

namespace brevanto {

Hub::Hub(HubEnvironment environment)
    : m_format(std::move(environment.format)),
      m_eventLog(m_eventList, environment.clock, m_format, environment.prompts,
                 environment.workingDirectory),
      m_services{environment.clock,   m_format,   environment.prompts,
                 environment.invoker, m_eventLog, environment.workingDirectory},
      m_settings(SettingsFile(environment.settingsPath, m_format), m_eventLog),
      m_link(
          m_services.prompts, m_eventLog, [this] { return m_linkState.connected(); },
          [this] { return m_showAllErrors.load(); }),
      m_acquisition(m_services, m_link, m_linkState, m_timers.Timer1),
      m_display(m_services, m_pages, m_acquisition),
      m_reqByWeb(m_eventLog, m_settings, m_acquisition),
      m_background(std::make_unique<ThreadBackgroundWork>(m_services.mainThread)),
      m_connection(
          m_link, m_linkState, m_eventLog, [this] { return PortMap(m_settings.portOverrides()); },
          [this] { return connectionSettings(m_settings.AppSettings()); },
          m_timers.connectionTimers(), connectionHooks(), m_background.get(),
          &m_services.mainThread),
      m_mail(
          m_services, [this] { return mailSettings(m_settings.AppSettings()); },
          std::move(environment.mailDelivery)),
      m_scheduler(
          m_services,
          {m_settings, m_timers, m_acquisition, m_eventLog, m_eventList, m_dailyData, m_mail},
          schedulerHooks()),
      m_publisher(
          [this](const std::string& line) {
              m_services.mainThread.post([this, line] { m_eventLog.WriteEvent(line); });
          },
          kProgramVersion),
      m_web(m_services,
            {m_pages, m_eventList, m_settings, [this] { m_acquisition.wakeForWeb(); },
             [this] { m_display.requestRefresh(); }, [this] { return chartPage(); },
             [this] { return metrics(); }},
            environment.serveWeb, environment.webServer) {
    makeLogDirectory(m_services.root, m_services.prompts);
    m_pages.BuildPageTemplates();
    m_eventList.clear();
    m_display.showClock();
    m_settings.loadAtConstruction(m_services.clock.now().date);
    m_timers.SetLogInterval(m_settings.AppSettings());
    m_display.page().writeFooters(webTitle());
    m_metricsFeed = m_display.textsListeners().add([this](const DisplayTexts& texts) {
        m_metrics.update(texts, m_acquisition.loopCount(), m_connection.reconnects());
    });
    m_publisherFeed = m_acquisition.addReadingListener(
        [this](const InverterReadings& readings) { publishReading(readings); });
    m_eventLog.setMessageListener([this](std::string_view message) {
        if (const auto kind = publishedEventKind(message)) {
            m_publisher.publishEvent(*kind, message);
        }
    });
}

Hub::~Hub() {
    // No request may reach what goes next.
    m_web.stop();
    m_acquisition.stop();
    m_publisher.stop();
    // A search still running refers to the connection manager: let it end,
    // serving what it asks of the main thread (a message box), then run what
    // it handed back while everything it touches still lives.
    m_services.mainThread.serveUntil([this] { return m_background->idle(); }, "a port search");
    m_background.reset();
    m_mail.stop();
    // The checkpoints still queued reach the disk, and what they report runs
    // while the logs they report to still live.
    m_dailyData.writer().drain();
    m_services.mainThread.runPending();
    // No thread writes to the journal any more, and the publisher goes
    // before the journal does: its lines stop here.
    m_eventLog.setMessageListener({});
}

ConnectionHooks Hub::connectionHooks() {
    ConnectionHooks hooks = m_acquisition.connectionHooks();
    hooks.updateDisplay = [this] { m_display.UpdateDisplay(); };
    hooks.offTimerArmed = [this] { return m_settings.AppSettings().OffTimerArmed; };
    return hooks;
}

SchedulerHooks Hub::schedulerHooks() {
    SchedulerHooks hooks;
    hooks.showClock = [this] { m_display.showClock(); };
    hooks.updateDisplay = [this] { m_display.UpdateDisplay(); };
    hooks.reconnectWatchdog = [this] { m_connection.ReconnectWatchdog(); };
    hooks.rememberLoopCount = [this] { m_connection.setLastLoopCount(m_acquisition.loopCount()); };
    hooks.shownTexts = [this]() -> const DisplayTexts& { return m_display.texts(); };
    hooks.showComputed = [this](std::span<const int> panels) { m_display.showComputed(panels); };
    hooks.showTotalsSince = [this](const std::string& since) { m_display.showTotalsSince(since); };
    hooks.showLineFault = [this](bool lineDown) { m_display.page().writeLineFault(lineDown); };
    hooks.setReqByWebBox = [this](bool checked) { m_reqByWeb.setBox(checked); };
    return hooks;
}

// The files are named and the totals read before the journal is reloaded
// and the settings applied; the tables come back from today's files last.
void Hub::FormCreate() {
    m_scheduler.nameFiles();
    m_eventLog.LoadEventLog();
    m_settings.reportUnreadTimes();
    // The dialog's copy starts as the settings loaded, so a stored
    // "Read variables only when requested by web" holds from the start,
    // whether or not a window is ever shown.
    m_settings.PendingSettings() = m_settings.AppSettings();
    ApplySettings();
    m_scheduler.loadTables();
}

// In this order: a later step may read what an earlier one set.
void Hub::ApplySettings() {
    TDati& settings = m_settings.AppSettings();
    m_web.configure(settings);
    m_timers.configure(settings);
    m_settings.rememberAutoReConnect();
    m_acquisition.configure(readingSettings(settings));
    m_display.configure(settings);
    // The dialog's copy, which every caller has just made equal to the live
    // settings (at start, and by Apply).
    m_reqByWeb.setBox(m_settings.PendingSettings().reqByWeb);
    configurePublisher(settings);
}

// A section that cannot be used is said once, not at every apply.
void Hub::configurePublisher(const TDati& settings) {
    MqttSettingsCheck mqtt = checkMqttSettings(settings);
    if (mqtt.problem != m_publishingProblem && !mqtt.problem.empty()) {
        m_eventLog.WriteEvent("MQTT not started: " + mqtt.problem + ".");
    }
    m_publishingProblem = mqtt.problem;
    m_publishing = mqtt.settings.has_value();
    m_publisher.configure(std::move(mqtt.settings));
}

void Hub::publishReading(const InverterReadings& readings) {
    if (!m_publishing) {
        return;
    }
    const LinkState::Snapshot link = m_linkState.snapshot();
    m_publisher.publishState(
        publishedState(displayTexts(readings), readings.line.LinePresent, link.phase,
                       inverterTopicId(m_linkState.inverterSerial(), link.testChecked)));
}

void Hub::CommitPendingSettings() {
    m_settings.AppSettings() = m_settings.PendingSettings();
    ApplySettings();
    m_settings.SaveSettings();
}

void Hub::setSettingsDialog(const SettingsDialogSeam& dialog) {
    m_web.setTimerDialog(dialog.timers);
    m_reqByWeb.setDialogBoxes(dialog.reqByWeb);
}

// On a connection thread. The curves are copied under their lock and drawn
// outside it, so a long day's drawing never holds up a row being added.
std::string Hub::chartPage() const {
    const DaySeries today = m_todaysCurves.read([](const DaySeries& series) { return series; });
    return renderDayChartPage(today,
                              "Brevanto - " + m_format.formatDate(m_services.clock.now().date));
}

// On a connection thread, like the chart page.
MetricsValues Hub::metrics() const {
    MetricsValues values = m_metrics.values();
    values.connected = m_linkState.connected();
    const ExchangeFailures& failures = m_link.failures();
    values.exchangesNotSent = failures.notSent;
    values.exchangesWithoutReply = failures.noReply;
    values.exchangesWithBadReply = failures.badReply;
    return values;
}

std::filesystem::path Hub::computedLogFile() const {
    return m_services.root / m_dailyData.computed().currentPath();
}

void Hub::FormShow() {
    if (m_settings.AppSettings().autoConnect && m_firstShow) {
        m_connection.ConnectInverter([this] { m_display.UpdateDisplay(); });
        m_firstShow = false;
    }
}

void Hub::TestClick(bool checked) {
    m_linkState.setTestChecked(checked);
    m_connection.TestClick();
}

void Hub::Button4Click() {
    if (m_services.prompts.ask("Event log will be deleted. Are you sure?") != PromptAnswer::No) {
        m_eventList.clear();
    }
}

CloseOutcome Hub::FormClose() {
    if (!m_reallyClose) {
        return CloseOutcome::ToTray;
    }
    if (m_services.prompts.ask("Close Brevanto?") == PromptAnswer::No) {
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
    // The thread must not sleep long on its way out.
    m_timers.Timer1.setInterval(MainTimers::kTickIntervalMs);
    m_acquisition.stop();
    m_timers.stopAtClose();
    if (m_linkState.connected() && !m_linkState.testMode()) {
        m_link.close();
    }
    m_scheduler.writeAtClose();
    m_mail.drainAtClose();
    m_publisher.stop();
}

}  // namespace brevanto
