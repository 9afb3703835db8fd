// The clock of the running program. The one-second tick refreshes the
// display, lets the reconnect watchdog look, switches output timer A,
// rolls the day's files over at the day change, and reports switches
// between line and battery and line faults. Timer1's first tick after a
// connect takes the first sample and starts the log timer; the log timer
// samples the day's rows. A checkpoint every minute puts what changed on
// the disk (the totals, the day's energy line, the journal), so a power cut
// loses at most that minute. It also opens the day's files at start-up and
// writes them at the program's end. Everything runs on the main thread, and
// one handler at a time: a handler that arrives while another runs (from a
// message box's event loop) is skipped.
#pragma once

#include <span>

#include "acquisition/acquisition.h"
#include "platform/listeners.h"
#include "platform/mailsender.h"
#include "platform/services.h"
#include "schedule/maintimers.h"
#include "schedule/schedulerhooks.h"
#include "store/dailydata.h"
#include "store/eventlog.h"
#include "store/settingsstore.h"

namespace brevanto {

struct SchedulerParts {
    SettingsStore& settings;
    MainTimers& timers;
    Acquisition& acquisition;
    EventLog& eventLog;
    EventList& eventList;
    DailyData& daily;
    MailSender& mail;
};

class Scheduler {
public:
    // The tick's time references and the day of the open files are now.
    Scheduler(const Services& services, SchedulerParts parts, SchedulerHooks hooks);
    Scheduler(const Scheduler&) = delete;
    Scheduler& operator=(const Scheduler&) = delete;

    // Start-up, in the program's order: the month's energy log, the basic
    // log, the event file and the computed log are named, then the totals
    // are read and shown.
    void nameFiles();
    // Then the tables are read back from today's files, the day's energy
    // counters restored, and the checkpoints start.
    void loadTables();

    void TimerTimer();
    void Timer1Timer();
    void Timer3Timer();
    void TimerOffTimer();
    void TimerCheckpointTimer();

    // One sample: a row of the shown texts into each day's table; none in
    // the ReqByWeb mode. Returns the sampling moment.
    LocalDateTime SampleLogRows();

    // The close-time writes, each as its [LogIn] setting says, then the
    // totals. Queued checkpoints land first.
    void writeAtClose();

    // AutoConnect: the first sample after connecting sends the window to
    // the tray. The window listens.
    [[nodiscard]] Subscription addSendToTrayListener(std::function<void()> listener) {
        return m_sendToTray.add(std::move(listener));
    }

    const LocalDate& LogDate() const { return m_logDate; }
    const LocalDateTime& lastSample() const { return m_lastSample; }

private:
    // The day change, when the date (the whole date) is not the open files'.
    void dayChangeIfDue(const LocalDateTime& now);
    void dayChange(const LocalDateTime& now);
    void outputTimerA();
    void reportModeSwitch(const LocalDateTime& now);
    void reportLineFault(const LocalDateTime& now);
    EnergyLine energyLine() const;

    TDati& settings() { return m_parts.settings.AppSettings(); }

    const Services& m_services;
    SchedulerParts m_parts;
    SchedulerHooks m_hooks;
    Listeners<> m_sendToTray;
    TimeOfDay m_tickTime;
    TimeOfDay m_prevTickTime;
    LocalDate m_logDate;
    LocalDate m_tickDate;
    LocalDateTime m_lastSample;
    bool m_busy = false;
};

}  // namespace brevanto
