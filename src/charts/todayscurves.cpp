#include "charts/todayscurves.h"

#include <vector>

namespace brevanto {

TodaysCurves::TodaysCurves(LogTable& basic) : m_basic(basic) {
    m_generation = basic.rows().generation();
    follow();
    m_subscription = m_basic.addChangeListener([this] { follow(); });
}

// Only the rows added since the last call are read; a table emptied (the
// day change, a reload) starts the curves again.
void TodaysCurves::follow() {
    const DayTable& rows = m_basic.rows();
    const std::size_t count = rows.rowCount();
    bool changed = false;
    {
        std::lock_guard lock(m_mutex);
        if (rows.generation() != m_generation || count < m_rowsTaken) {
            m_series.clear();
            m_rowsTaken = 0;
            m_generation = rows.generation();
            changed = true;
        }
        for (; m_rowsTaken < count; ++m_rowsTaken) {
            m_series.addLine(rows.line(m_rowsTaken));
            changed = true;
        }
    }
    if (changed) {
        m_listeners.notify();
    }
}

}  // namespace brevanto
