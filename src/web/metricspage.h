// "/metrics" in Prometheus' text format: the readings and the computed
// values as gauges, the link's state, and counters of finished cycles,
// failed exchanges by their cause, reconnects and web requests. A scrape is
// rendered from one copy of the values, so it never waits for the program.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "acquisition/basicvariables.h"
#include "acquisition/computedvalues.h"

namespace brevanto {

struct MetricsValues {
    // Empty until a reading has shown a number there.
    std::array<std::optional<double>, kBasicVariableCount> readings{};
    std::array<std::optional<double>, kComputedValueCount> computed{};
    bool connected = false;
    std::uint64_t cycles = 0;
    std::uint64_t reconnects = 0;
    std::uint64_t exchangesNotSent = 0;
    std::uint64_t exchangesWithoutReply = 0;
    std::uint64_t exchangesWithBadReply = 0;
    std::uint64_t webRequests = 0;
};

inline constexpr const char* kMetricsContentType = "text/plain; version=0.0.4; charset=utf-8";

std::string renderMetrics(const MetricsValues& values);

}  // namespace brevanto
