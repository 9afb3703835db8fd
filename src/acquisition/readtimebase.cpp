#include "acquisition/readtimebase.h"

namespace brevanto {

void ReadTimeBase::restart() {
    m_counted = m_clock.monotonicNow();
}

int ReadTimeBase::successfulRead() {
    const Clock::MonotonicTime now = m_clock.monotonicNow();
    if (!m_counted) {
        m_counted = now;
        return 0;
    }
    const auto whole = std::chrono::floor<std::chrono::seconds>(now - *m_counted);
    *m_counted += whole;
    return static_cast<int>(whole.count());
}

}  // namespace brevanto
