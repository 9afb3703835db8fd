// What the index settings stand for: the measuring interval of Timer1, the
// log interval of Timer3 and the main page's automatic refresh.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace brevanto {

// Timer3 in test mode, whatever UpdateLog says.
inline constexpr int kTestModeLogIntervalMs = 200;

// MeasTime 0..7: "1 sec" to "1 h". Nothing for any other index.
std::optional<int> measuringIntervalMs(std::int32_t measTime);

// UpdateLog 0..7: "1 min" to "1 h". "5 min" and "15 min" have always run
// 50 s longer (350000 and 950000 ms); logs written so far follow that rhythm.
std::optional<int> logIntervalMs(std::int32_t updateLog);

// [Condition] Time in seconds as TimerOff's interval. A negative hold means
// none; one beyond what a timer can count (about 24.8 days) is held that long.
int offTimerIntervalMs(std::int32_t seconds);

struct RefreshChoice {
    std::string pageLine;     // the main page's fifth line
    std::string refreshNote;  // appended to the measurement time
};

// RefreshWeb 0..6: 1, 2, 3, 5, 10, 60 seconds or by hand; any other index
// refreshes every second.
RefreshChoice refreshChoice(std::int32_t refreshWeb);

}  // namespace brevanto
