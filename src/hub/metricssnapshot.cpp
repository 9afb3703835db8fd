#include "hub/metricssnapshot.h"

#include <algorithm>

#include "platform/numberformat.h"

namespace brevanto {

void MetricsSnapshot::update(const DisplayTexts& texts, int cycles, int reconnects) {
    std::lock_guard lock(m_mutex);
    for (std::size_t i = 0; i < texts.basic.size(); ++i) {
        m_values.readings[i] = parseLeadingNumber(texts.basic[i]);
    }
    for (std::size_t i = 0; i < texts.computed.size(); ++i) {
        m_values.computed[i] = parseLeadingNumber(texts.computed[i]);
    }
    m_values.cycles = static_cast<std::uint64_t>(std::max(cycles, 0));
    m_values.reconnects = static_cast<std::uint64_t>(std::max(reconnects, 0));
}

MetricsValues MetricsSnapshot::values() const {
    std::lock_guard lock(m_mutex);
    return m_values;
}

}  // namespace brevanto
