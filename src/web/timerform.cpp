#include "web/timerform.h"

#include "web/formtime.h"

namespace brevanto {
namespace {

struct TimerFields {
    std::string_view enable;
    std::string_view on;
    std::string_view off;
};

constexpr std::array<TimerFields, 4> kTimers{{
    {"C1TA=ON", "TAON", "TAOFF"},
    {"C2TB=ON", "TBON", "TBOFF"},
    {"C3TC=ON", "TCON", "TCOFF"},
    {"C4TD=ON", "TDON", "TDOFF"},
}};

bool contains(std::string_view body, std::string_view text) {
    return body.find(text) != std::string_view::npos;
}

std::optional<TimeOfDay> formTime(std::string_view body, std::string_view name,
                                  const DateTimeFormat& format) {
    const auto text = takeFormTime(body, name);
    return text ? parseFormTime(*text, format) : std::nullopt;
}

}  // namespace

TimerFormOutcome readTimerForm(std::string_view body, const DateTimeFormat& format) {
    TimerFormOutcome outcome;
    for (std::size_t timer = 0; timer < kTimers.size(); ++timer) {
        const TimerFields& fields = kTimers[timer];
        outcome.enabled[timer] = contains(body, fields.enable);
        // A form without this timer's fields leaves the timer's times alone.
        if (!contains(body, fields.on) && !contains(body, fields.off)) {
            continue;
        }
        const auto on = formTime(body, fields.on, format);
        const auto off = formTime(body, fields.off, format);
        if (on && off) {
            outcome.accepted[timer] = TimerTimes{*on, *off};
        } else {
            outcome.timeError = true;
        }
    }
    return outcome;
}

}  // namespace brevanto
