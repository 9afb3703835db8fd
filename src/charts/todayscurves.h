// Today's curves, following the basic table as rows come and as it is
// emptied at the day change. The window reads them on the main thread; the
// web page's connection threads read them under the lock, so a page never
// waits for the main thread.
#pragma once

#include <cstdint>
#include <mutex>

#include "charts/dayseries.h"
#include "platform/listeners.h"
#include "store/logtable.h"

namespace brevanto {

class TodaysCurves {
public:
    // Main thread; the table must outlive this.
    explicit TodaysCurves(LogTable& basic);
    TodaysCurves(const TodaysCurves&) = delete;
    TodaysCurves& operator=(const TodaysCurves&) = delete;

    // Runs `read` on the curves under the lock; any thread.
    template <typename Read>
    auto read(Read&& read) const {
        std::lock_guard lock(m_mutex);
        return read(m_series);
    }
    // Told on the main thread after the curves changed.
    [[nodiscard]] Subscription addChangeListener(std::function<void()> listener) {
        return m_listeners.add(std::move(listener));
    }

private:
    void follow();

    LogTable& m_basic;
    mutable std::mutex m_mutex;
    DaySeries m_series;
    std::size_t m_rowsTaken = 0;
    std::uint64_t m_generation = 0;
    Listeners<> m_listeners;
    Subscription m_subscription;
};

}  // namespace brevanto
