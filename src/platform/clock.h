// Where the program learns the time: the local wall clock for stamps, names
// and the day change, and a monotonic clock for measuring elapsed time.
#pragma once

#include <chrono>

#include "platform/localdatetime.h"

namespace brevanto {

class Clock {
public:
    using MonotonicTime = std::chrono::steady_clock::time_point;

    virtual ~Clock() = default;
    virtual LocalDateTime now() const = 0;
    virtual MonotonicTime monotonicNow() const = 0;
};

// The machine's clocks: local time from the system's time zone.
class SystemClock final : public Clock {
public:
    LocalDateTime now() const override;
    MonotonicTime monotonicNow() const override;
};

}  // namespace brevanto
