#include "hub/metricssnapshot.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <string_view>

namespace brevanto {

namespace {

// The number a panel starts with: "52.10[52.20]" is 52.1, "0322" is 322.
std::optional<double> leadingNumber(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end == text.data() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

void MetricsSnapshot::update(const DisplayTexts& texts, int cycles, int reconnects) {
    std::lock_guard lock(m_mutex);
    for (std::size_t i = 0; i < texts.basic.size(); ++i) {
        m_values.readings[i] = leadingNumber(texts.basic[i]);
    }
    for (std::size_t i = 0; i < texts.computed.size(); ++i) {
        m_values.computed[i] = leadingNumber(texts.computed[i]);
    }
    m_values.cycles = static_cast<std::uint64_t>(std::max(cycles, 0));
    m_values.reconnects = static_cast<std::uint64_t>(std::max(reconnects, 0));
}

MetricsValues MetricsSnapshot::values() const {
    std::lock_guard lock(m_mutex);
    return m_values;
}

}  // namespace brevanto
