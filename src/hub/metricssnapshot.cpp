#include "hub/metricssnapshot.h"

#include <algorithm>

namespace brevanto {

void MetricsSnapshot::update(const DisplayTexts& texts, int cycles, int reconnects) {
    const PanelNumbers numbers = panelNumbers(texts);
    std::lock_guard lock(m_mutex);
    m_values.readings = numbers.basic;
    m_values.computed = numbers.computed;
    m_values.cycles = static_cast<std::uint64_t>(std::max(cycles, 0));
    m_values.reconnects = static_cast<std::uint64_t>(std::max(reconnects, 0));
}

MetricsValues MetricsSnapshot::values() const {
    std::lock_guard lock(m_mutex);
    return m_values;
}

}  // namespace brevanto
