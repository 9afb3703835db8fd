#include "ui/hubtimers.h"

namespace brevanto {

std::vector<std::unique_ptr<TimerBinding>> bindHubTimers(Hub& hub) {
    MainTimers& timers = hub.timers();
    Scheduler& scheduler = hub.scheduler();
    std::vector<std::unique_ptr<TimerBinding>> bindings;
    const auto bind = [&bindings](CoreTimer& timer, std::function<void()> handler) {
        bindings.push_back(std::make_unique<TimerBinding>(timer, std::move(handler)));
    };
    bind(timers.Timer, [&hub] { hub.TimerTimer(); });
    bind(timers.Timer1, [&scheduler] { scheduler.Timer1Timer(); });
    bind(timers.Timer3, [&scheduler] { scheduler.Timer3Timer(); });
    bind(timers.TimerOff, [&scheduler] { scheduler.TimerOffTimer(); });
    bind(timers.TimerCheckpoint, [&scheduler] { scheduler.TimerCheckpointTimer(); });
    bind(timers.TimerConnect, [&hub] { hub.TimerConnectTimer(); });
    return bindings;
}

}  // namespace brevanto
