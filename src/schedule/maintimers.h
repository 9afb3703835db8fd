// The main window's timers as core state: the one-second tick, the
// measuring interval, the log interval, the output hold and the reconnect
// after the watchdog. The window binds each to a real timer; applying the
// settings sets their intervals here.
#pragma once

#include "link/connectiontimers.h"
#include "link/linkstate.h"
#include "platform/coretimer.h"
#include "store/tdati.h"

namespace brevanto {

class MainTimers {
public:
    static constexpr int kTickIntervalMs = 1000;
    // What changed reaches the disk within this long.
    static constexpr int kCheckpointIntervalMs = 60 * 1000;

    // The "Test mode" box and the link's phase are read from `link`.
    explicit MainTimers(const LinkState& link) : m_link(link) {}
    MainTimers(const MainTimers&) = delete;
    MainTimers& operator=(const MainTimers&) = delete;

    // Timer1 from MeasTime, Timer3 from UpdateLog (each restarted with its
    // new interval if it ran), and TimerOff from [Condition] Time, which also
    // arms or disarms the record's OffTimerArmed.
    void configure(TDati& settings);
    // Timer3 from UpdateLog, or the test-mode interval while "Test mode" is
    // checked; an index outside the list leaves the interval as it is.
    void SetLogInterval(const TDati& settings);
    // The tick, the measuring, the log and the checkpoint timer stop at the
    // program's end.
    void stopAtClose();

    ConnectionTimers connectionTimers() { return {Timer, Timer1, Timer3, TimerConnect, TimerOff}; }

    CoreTimer Timer{kTickIntervalMs};
    CoreTimer Timer1;
    CoreTimer Timer3;
    CoreTimer TimerOff;
    CoreTimer TimerConnect;
    // Runs from start-up to the end, connected or not.
    CoreTimer TimerCheckpoint{kCheckpointIntervalMs};

private:
    void applyOffTimer(TDati& settings);

    const LinkState& m_link;
};

}  // namespace brevanto
