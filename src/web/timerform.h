// What a submission of the Timer page's form asks for, decided on the
// connection thread from the raw body alone, so that only the result has to
// reach the main thread.
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "platform/datetimeformat.h"
#include "platform/localdatetime.h"

namespace brevanto {

struct TimerTimes {
    TimeOfDay on;
    TimeOfDay off;
};

// Read only from a form that passed the access rule.
struct TimerFormOutcome {
    // Timers A to D: ticked in the form.
    std::array<bool, 4> enabled{};
    // Timers A to D: the pair to store, for each timer whose two times read.
    std::array<std::optional<TimerTimes>, 4> accepted{};
    // A timer named in the form had a time that did not read.
    bool timeError = false;
};

TimerFormOutcome readTimerForm(std::string_view body, const DateTimeFormat& format);

}  // namespace brevanto
