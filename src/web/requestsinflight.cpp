#include "web/requestsinflight.h"

namespace brevanto {

void RequestsInFlight::begin() {
    std::lock_guard lock(m_mutex);
    ++m_count;
}

void RequestsInFlight::end() {
    std::lock_guard lock(m_mutex);
    if (--m_count == 0) {
        m_none.notify_all();
    }
}

bool RequestsInFlight::waitUntilNone(std::chrono::milliseconds timeout) {
    std::unique_lock lock(m_mutex);
    return m_none.wait_for(lock, timeout, [this] { return m_count == 0; });
}

}  // namespace brevanto
