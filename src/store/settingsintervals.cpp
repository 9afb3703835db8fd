#include "store/settingsintervals.h"

#include <algorithm>
#include <array>
#include <limits>
#include <string_view>

namespace brevanto {
namespace {

constexpr std::array<int, 8> kMeasuringMs = {1000,  2000,  5000,   10000,
                                             20000, 60000, 600000, 3600000};
constexpr std::array<int, 8> kLogMs = {60000,  120000,  350000,  600000,
                                       950000, 1200000, 1800000, 3600000};

struct Refresh {
    std::string_view seconds;
    std::string_view note;
};

constexpr std::array<Refresh, 6> kRefreshes = {{
    {"1", " (Refresh = 1 sec.)"},
    {"2", " (Refresh = 2 sec.)"},
    {"3", " (Refresh = 3 sec.)"},
    {"5", " (Refresh = 5 sec.)"},
    {"10", " (Refresh = 10 sec.)"},
    {"60", " (Refresh = 60 sec.)"},
}};
constexpr std::int32_t kManualRefresh = 6;
constexpr std::string_view kLanguageMeta =
    R"(<meta http-equiv="Content-Language" content="en-gb">)";

template <std::size_t N>
std::optional<int> pick(const std::array<int, N>& table, std::int32_t index) {
    if (index < 0 || static_cast<std::size_t>(index) >= N) {
        return std::nullopt;
    }
    return table[static_cast<std::size_t>(index)];
}

}  // namespace

std::optional<int> measuringIntervalMs(std::int32_t measTime) {
    return pick(kMeasuringMs, measTime);
}

std::optional<int> logIntervalMs(std::int32_t updateLog) {
    return pick(kLogMs, updateLog);
}

int offTimerIntervalMs(std::int32_t seconds) {
    const std::int64_t ms = std::int64_t{seconds} * 1000;
    return static_cast<int>(std::clamp<std::int64_t>(ms, 0, std::numeric_limits<int>::max()));
}

RefreshChoice refreshChoice(std::int32_t refreshWeb) {
    if (refreshWeb == kManualRefresh) {
        return {std::string(kLanguageMeta), " (Refresh = manually)"};
    }
    const bool known = refreshWeb >= 0 && refreshWeb < kManualRefresh;
    const Refresh& refresh = kRefreshes[known ? static_cast<std::size_t>(refreshWeb) : 0];
    std::string line(kLanguageMeta);
    line += R"( <meta http-equiv="refresh" content=")";
    line += refresh.seconds;
    line += R"(">)";
    return {line, std::string(refresh.note)};
}

}  // namespace brevanto
