#include "acquisition/readtimebase.h"

#include <algorithm>

namespace brevanto {

std::chrono::seconds ReadTimeBase::longestStepFor(std::chrono::milliseconds measuringInterval) {
    constexpr std::chrono::seconds kShortestCap{300};
    return std::max(kShortestCap, std::chrono::ceil<std::chrono::seconds>(3 * measuringInterval));
}

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
    if (whole > m_longest) {
        // The rest of the gap is dropped: nobody knows what happened in it.
        m_counted = now;
        return static_cast<int>(m_longest.count());
    }
    *m_counted += whole;
    return static_cast<int>(whole.count());
}

}  // namespace brevanto
