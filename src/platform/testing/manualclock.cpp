#include "platform/testing/manualclock.h"

namespace brevanto::testing {

ManualClock::ManualClock(LocalDateTime start) : m_wall(start) {}

LocalDateTime ManualClock::now() const {
    std::lock_guard lock(m_mutex);
    return m_wall;
}

Clock::MonotonicTime ManualClock::monotonicNow() const {
    std::lock_guard lock(m_mutex);
    return m_monotonic;
}

void ManualClock::set(const LocalDateTime& wall) {
    std::lock_guard lock(m_mutex);
    m_wall = wall;
}

void ManualClock::advance(std::chrono::milliseconds step) {
    std::lock_guard lock(m_mutex);
    m_monotonic += step;
    const long long total = m_wall.time.millisecond + m_wall.time.second * 1000LL +
                            m_wall.time.minute * 60000LL + m_wall.time.hour * 3600000LL +
                            step.count();
    constexpr long long kDay = 86400000;
    long long days = total / kDay;
    long long rest = total % kDay;
    if (rest < 0) {
        rest += kDay;
        --days;
    }
    m_wall.date = civilFromDays(daysFromCivil(m_wall.date) + static_cast<int>(days));
    m_wall.time = {static_cast<int>(rest / 3600000), static_cast<int>(rest / 60000 % 60),
                   static_cast<int>(rest / 1000 % 60), static_cast<int>(rest % 1000)};
}

}  // namespace brevanto::testing
