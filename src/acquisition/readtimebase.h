// How many whole seconds each energy step covers. Measured on the monotonic
// clock, so midnight, a clock correction or a daylight-saving change never
// adds a phantom hour or day. The part of a second a step leaves over is
// carried into the next one: a cycle of 1.8 s counts 1 s, then 2 s, and so on,
// and no energy is lost to rounding over a day.
#pragma once

#include <optional>

#include "platform/clock.h"

namespace brevanto {

class ReadTimeBase {
public:
    explicit ReadTimeBase(const Clock& clock) : m_clock(clock) {}

    // A connect and the day change start the count afresh from now.
    void restart();
    // A good main-values read: the whole seconds since the previous one (or
    // since the restart); 0 before any restart.
    int successfulRead();

private:
    const Clock& m_clock;
    std::optional<Clock::MonotonicTime> m_counted;
};

}  // namespace brevanto
