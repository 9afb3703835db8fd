// The scheduler's part in the day's files: opening them at start-up, the
// day change, the minute's checkpoint and the writes at the program's end.
#include <array>

#include "schedule/oneatatime.h"
#include "schedule/scheduler.h"

namespace brevanto {
namespace {

constexpr std::array<int, 2> kTotalsPanels{4, 5};
constexpr std::array<int, 3> kDayEnergyPanels{0, 2, 3};

}  // namespace

void Scheduler::nameFiles() {
    const LocalDate today = m_services.clock.now().date;
    DailyData& daily = m_parts.daily;
    daily.energy().Name(today);
    daily.basic().Name(today);
    m_parts.eventLog.NameEventFile();
    daily.computed().Name(today);
    if (const std::optional<Totals> totals = daily.totals().Read(today)) {
        ComputedValues& values = m_parts.acquisition.computed();
        values.TotalSolar = totals->solar;
        values.TotalLine = totals->line;
        m_hooks.showComputed(kTotalsPanels);
    }
    m_hooks.showTotalsSince(daily.totals().TotalsSince());
}

void Scheduler::loadTables() {
    DailyData& daily = m_parts.daily;
    daily.basic().Load(settings().basicLabels);
    daily.computed().Load(settings().computedLabels);
    if (const EnergyLog::Loaded loaded = daily.energy().Load(m_services.clock.now().date);
        loaded.today) {
        ComputedValues& values = m_parts.acquisition.computed();
        values.SolarEnergy = loaded.today->solar;
        values.LineEnergyApp = loaded.today->lineApp;
        values.LineEnergyAct = loaded.today->lineAct;
        m_hooks.showComputed(kDayEnergyPanels);
    }
    m_parts.timers.TimerCheckpoint.setEnabled(true);
}

EnergyLine Scheduler::energyLine() const {
    const ComputedValues& values = m_parts.acquisition.computed();
    return {m_logDate,
            {values.SolarEnergy, values.LineEnergyApp, values.LineEnergyAct},
            values.TotalSolar,
            values.TotalLine};
}

void Scheduler::dayChangeIfDue(const LocalDateTime& now) {
    // The whole date: a link that was down from 5 March to 5 April must not
    // write April's rows into March's file.
    if (now.date != m_logDate) {
        dayChange(now);
    }
}

// Every write, reset and mail in its order. A file that cannot be written
// is reported by its log; the day change completes all the same.
void Scheduler::dayChange(const LocalDateTime& now) {
    DailyData& daily = m_parts.daily;
    const TDati& live = settings();
    const std::string ended = m_services.format.formatDate(m_logDate);
    // A checkpoint still on its way must not land over the final files.
    daily.writer().drain();
    if (live.logEnergy) {
        daily.energy().Write(energyLine());
        if (now.date.year != m_logDate.year || now.date.month != m_logDate.month) {
            daily.energy().Name(now.date);
        }
        ComputedValues& values = m_parts.acquisition.computed();
        values.SolarEnergy = 0;
        values.LineEnergyApp = 0;
        values.LineEnergyAct = 0;
        daily.energy().empty();
    }
    if (live.logBasic) {
        daily.basic().Write();
        if (live.mailOut[0]) {
            m_parts.mail.SendMail("Basic variables of day " + ended + " in attach.",
                                  m_services.root / daily.basic().currentPath());
        }
        daily.basic().Name(now.date);
        daily.basic().empty();
    }
    if (live.logComputed) {
        daily.computed().Write();
        if (live.mailOut[1]) {
            m_parts.mail.SendMail("Computed variables of day " + ended + " in attach.",
                                  m_services.root / daily.computed().currentPath());
        }
        daily.computed().Name(now.date);
    }
    // Emptied even when it is not written, or it would grow for months.
    daily.computed().empty();
    daily.totals().Write(
        {m_parts.acquisition.computed().TotalSolar, m_parts.acquisition.computed().TotalLine},
        now.date);
    if (live.mailOut[2]) {
        // The panels still show the day that has ended.
        const DisplayTexts& shown = m_hooks.shownTexts();
        m_parts.mail.SendMail("Daily Energy production (" + ended + "): " + shown.computed[0] +
                                  " kWh. \r\nTotal production from " +
                                  daily.totals().TotalsSince() + " is: " + shown.computed[4] +
                                  "kWh",
                              {});
    }
    if (live.logEvent) {
        m_parts.eventLog.SaveEventLog();
        m_parts.eventLog.NameEventFile();
        m_parts.eventList.clear();
    }
    m_logDate = now.date;
    m_parts.acquisition.restartEnergyCount();
}

void Scheduler::TimerCheckpointTimer() {
    const OneAtATime guard(m_busy);
    if (!guard.entered()) {
        return;
    }
    DailyData& daily = m_parts.daily;
    const ComputedValues& values = m_parts.acquisition.computed();
    daily.totals().checkpoint({values.TotalSolar, values.TotalLine}, m_services.clock.now().date);
    if (settings().logEnergy) {
        daily.energy().checkpoint(energyLine());
    }
    if (settings().logEvent) {
        m_parts.eventLog.checkpoint(daily.writer());
    }
}

void Scheduler::writeAtClose() {
    DailyData& daily = m_parts.daily;
    const TDati& live = settings();
    m_parts.timers.TimerCheckpoint.setEnabled(false);
    daily.writer().drain();
    if (live.logEnergy) {
        daily.energy().Write(energyLine());
    }
    if (live.logBasic) {
        daily.basic().Write();
    }
    if (live.logEvent) {
        m_parts.eventLog.SaveEventLog();
    }
    if (live.logComputed) {
        daily.computed().Write();
    }
    const ComputedValues& values = m_parts.acquisition.computed();
    daily.totals().Write({values.TotalSolar, values.TotalLine}, m_tickDate);
}

}  // namespace brevanto
