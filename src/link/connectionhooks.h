// What the connection manager asks of the rest of the program. The link
// layer cannot see the reading thread or the window, so the hub hands these
// in; an empty hook is skipped.
#pragma once

#include <functional>
#include <optional>

namespace brevanto {

struct ConnectionHooks {
    // A successful connect: restart the energy time base from now and
    // resume the reading thread.
    std::function<void()> startReading{};
    // StopReading: while true the reading thread suspends itself after its cycle.
    std::function<void(bool)> setStopReading{};
    std::function<void()> updateDisplay{};
    // The reading thread's LoopCount; no value when there is no thread.
    std::function<std::optional<int>()> loopCount{};
    // OffTimerArmed, the flag that TimerOff clears.
    std::function<bool()> offTimerArmed{};
};

}  // namespace brevanto
