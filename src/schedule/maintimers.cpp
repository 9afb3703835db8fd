#include "schedule/maintimers.h"

#include "store/settingsintervals.h"

namespace brevanto {
namespace {

// Runs `change` on a timer that is stopped meanwhile and then runs again if
// it ran before, so a new interval takes effect from a fresh start.
template <typename Change>
void whileStopped(CoreTimer& timer, Change change) {
    const bool wasEnabled = timer.enabled();
    timer.setEnabled(false);
    change();
    timer.setEnabled(wasEnabled);
}

}  // namespace

void MainTimers::configure(TDati& settings) {
    whileStopped(Timer1, [&] {
        if (const auto interval = measuringIntervalMs(settings.measTime)) {
            Timer1.setInterval(*interval);
        }
    });
    whileStopped(Timer3, [&] { SetLogInterval(settings); });
    applyOffTimer(settings);
}

void MainTimers::SetLogInterval(const TDati& settings) {
    if (m_link.testMode()) {
        Timer3.setInterval(kTestModeLogIntervalMs);
    } else if (const auto interval = logIntervalMs(settings.updateLog)) {
        Timer3.setInterval(*interval);
    }
}

void MainTimers::applyOffTimer(TDati& settings) {
    TimerOff.setEnabled(false);
    const int interval = offTimerIntervalMs(settings.conditionTime);
    TimerOff.setInterval(interval);
    if (interval == 0) {
        settings.OffTimerArmed = false;
        return;
    }
    settings.OffTimerArmed = !settings.forceOn;
    if (m_link.connected()) {
        TimerOff.setEnabled(true);
    }
}

void MainTimers::stopAtClose() {
    Timer.setEnabled(false);
    Timer1.setEnabled(false);
    Timer3.setEnabled(false);
    TimerCheckpoint.setEnabled(false);
}

}  // namespace brevanto
