#include "schedule/scheduler.h"

#include <string>

#include "acquisition/linetrend.h"
#include "schedule/oneatatime.h"
#include "schedule/timecrossing.h"

namespace brevanto {

Scheduler::Scheduler(const Services& services, SchedulerParts parts, SchedulerHooks hooks)
    : m_services(services), m_parts(parts), m_hooks(std::move(hooks)) {
    const LocalDateTime now = m_services.clock.now();
    m_tickTime = now.time;
    m_prevTickTime = now.time;
    m_logDate = now.date;
    m_tickDate = now.date;
    m_lastSample = now;
}

void Scheduler::TimerTimer() {
    const OneAtATime guard(m_busy);
    if (!guard.entered()) {
        return;
    }
    const LocalDateTime tick = m_services.clock.now();
    m_hooks.showClock();
    m_prevTickTime = m_tickTime;
    m_tickTime = tick.time;
    m_tickDate = tick.date;
    m_hooks.updateDisplay();
    m_hooks.reconnectWatchdog();
    outputTimerA();
    const LocalDateTime now = m_services.clock.now();
    dayChangeIfDue(now);
    reportModeSwitch(now);
    reportLineFault(now);
    m_hooks.rememberLoopCount();
}

// Timer B, C and D keep their settings but switch nothing; "Anext" and the
// input take no part.
void Scheduler::outputTimerA() {
    TDati& live = settings();
    if (!live.timerEnabled[0]) {
        return;
    }
    if (timeReached(m_prevTickTime, m_tickTime, live.timeOn[0].time)) {
        m_hooks.setReqByWebBox(true);
        live.reqByWeb = true;
        m_services.events.WriteEvent(" Timer ON ");
    }
    if (timeReached(m_prevTickTime, m_tickTime, live.timeOff[0].time)) {
        m_hooks.setReqByWebBox(false);
        live.reqByWeb = false;
        m_services.events.WriteEvent(" Timer OFF ");
    }
}

void Scheduler::reportModeSwitch(const LocalDateTime& now) {
    OperatingState& state = m_parts.acquisition.operatingState();
    const char* what = state.ModeSwitch == 1   ? "Inverter switched from Line-bypass to Battery: "
                       : state.ModeSwitch == 2 ? "Inverter switched from Battery To Line-Bypass: "
                                               : nullptr;
    if (what == nullptr) {
        return;
    }
    const std::string text = what + m_services.format.formatDateTime(now);
    if (settings().mailOut[3]) {
        m_parts.mail.SendMail(text, {});
    }
    m_services.events.WriteEvent(text);
    state.ModeSwitch = 0;
}

void Scheduler::reportLineFault(const LocalDateTime& now) {
    LineState& line = m_parts.acquisition.lineState();
    const int threshold = FaultThreshold(settings().measTime);
    const bool fault = line.LineTrend <= threshold && !line.LineDownFlag;
    if (!fault && line.LineTrend < -threshold) {
        return;
    }
    const std::string at = m_services.format.formatDateTime(now);
    // The event says "Fault", the mail "fault".
    m_services.events.WriteEvent((fault ? "Line Fault: " : "Line restored: ") + at);
    if (settings().mailOut[4]) {
        m_parts.mail.SendMail((fault ? "Line fault: " : "Line restored: ") + at, {});
    }
    m_hooks.showLineFault(fault);
    line.LineDownFlag = fault;
    if (!fault) {
        line.LineTrend = 0;
        line.LineDownCount = 0;
    }
}

void Scheduler::Timer1Timer() {
    const OneAtATime guard(m_busy);
    if (!guard.entered()) {
        return;
    }
    CoreTimer& timer1 = m_parts.timers.Timer1;
    const bool wasEnabled = timer1.enabled();
    timer1.setEnabled(false);
    if (!m_parts.timers.Timer3.enabled()) {
        m_lastSample = SampleLogRows();
        m_parts.timers.Timer3.setEnabled(true);
        if (settings().autoConnect && m_parts.settings.AutoConnectPending()) {
            m_parts.settings.clearAutoConnectPending();
            m_sendToTray.notify();
        }
    }
    timer1.setEnabled(wasEnabled);
}

// With LogBasic clear no rows are taken, whatever LogComputed says.
void Scheduler::Timer3Timer() {
    const OneAtATime guard(m_busy);
    if (guard.entered() && settings().logBasic) {
        m_lastSample = SampleLogRows();
    }
}

void Scheduler::TimerOffTimer() {
    m_parts.timers.TimerOff.setEnabled(false);
    settings().OffTimerArmed = false;
}

LocalDateTime Scheduler::SampleLogRows() {
    const LocalDateTime now = m_services.clock.now();
    if (settings().reqByWeb) {
        return now;
    }
    // A row taken just after midnight, before the tick has seen the new
    // day, belongs to the new day's file.
    dayChangeIfDue(now);
    const std::string time = m_services.format.formatTime(now.time);
    const std::string date = m_services.format.formatDate(now.date);
    const DisplayTexts& shown = m_hooks.shownTexts();
    const TDati& live = settings();
    // A log that is not kept writes no file, not even row by row.
    const auto file = [](bool kept) {
        return kept ? DayLog::RowFile::Append : DayLog::RowFile::TableOnly;
    };
    DayLog& basic = m_parts.daily.basic();
    basic.setHeader(live.basicLabels);
    basic.addRow(time, date, shown.basic, file(live.logBasic));
    DayLog& computed = m_parts.daily.computed();
    computed.setHeader(live.computedLabels);
    computed.addRow(time, date, shown.computed, file(live.logComputed));
    return now;
}

}  // namespace brevanto
