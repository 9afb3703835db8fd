// How many whole seconds each energy step covers. Measured on the monotonic
// clock, so midnight, a clock correction or a daylight-saving change never
// adds a phantom hour or day. The part of a second a step leaves over is
// carried into the next one: a cycle of 1.8 s counts 1 s, then 2 s, and so on,
// and no energy is lost to rounding over a day. A step never covers more
// than a few measuring intervals: after two days without a good reading, one
// reading at noon must not add two days of sunshine to the day and the totals.
#pragma once

#include <optional>

#include "platform/clock.h"

namespace brevanto {

class ReadTimeBase {
public:
    explicit ReadTimeBase(const Clock& clock) : m_clock(clock) {}

    // The longest step at a measuring interval: three intervals, and never
    // less than five minutes.
    static std::chrono::seconds longestStepFor(std::chrono::milliseconds measuringInterval);
    void setLongestStep(std::chrono::seconds longest) { m_longest = longest; }

    // A connect and the day change start the count afresh from now.
    void restart();
    // A good main-values read: the whole seconds since the previous one (or
    // since the restart), at most the longest step; 0 before any restart.
    int successfulRead();

private:
    const Clock& m_clock;
    std::optional<Clock::MonotonicTime> m_counted;
    std::chrono::seconds m_longest = longestStepFor(std::chrono::seconds(1));
};

}  // namespace brevanto
