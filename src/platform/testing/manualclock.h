// A clock that stands still until a test moves it; wall and monotonic time
// advance together.
#pragma once

#include <mutex>

#include "platform/clock.h"

namespace brevanto::testing {

class ManualClock final : public Clock {
public:
    explicit ManualClock(LocalDateTime start = {{2015, 3, 7}, {14, 2, 11, 0}});

    LocalDateTime now() const override;
    MonotonicTime monotonicNow() const override;

    // Sets the wall clock alone, as a user correcting the time would.
    void set(const LocalDateTime& wall);
    void advance(std::chrono::milliseconds step);

private:
    mutable std::mutex m_mutex;
    LocalDateTime m_wall;
    MonotonicTime m_monotonic;
};

}  // namespace brevanto::testing
