// What "/metrics" shows of the main thread's state, copied there after every
// refresh of the panels and read under a lock by the connection threads.
#pragma once

#include <mutex>

#include "acquisition/displaytexts.h"
#include "web/metricspage.h"

namespace brevanto {

class MetricsSnapshot {
public:
    // Main thread: the panels' texts as numbers ("---" is none), and the counts.
    void update(const DisplayTexts& texts, int cycles, int reconnects);
    // Any thread.
    MetricsValues values() const;

private:
    mutable std::mutex m_mutex;
    MetricsValues m_values;
};

}  // namespace brevanto
