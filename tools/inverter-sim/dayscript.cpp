#include "inverter-sim/dayscript.h"

#include <charconv>
#include <cmath>
#include <ctime>

namespace brevanto::sim {
namespace {

bool twoDigits(std::string_view text, int limit, int& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return text.size() == 2 && error == std::errc{} && end == text.data() + 2 && value >= 0 &&
           value < limit;
}

std::optional<int> secondOfDay(std::string_view clock) {
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
    if (clock.size() != 8 || clock[2] != ':' || clock[5] != ':' ||
        !twoDigits(clock.substr(0, 2), 24, hours) || !twoDigits(clock.substr(3, 2), 60, minutes) ||
        !twoDigits(clock.substr(6, 2), 60, seconds)) {
        return std::nullopt;
    }
    return hours * 3600 + minutes * 60 + seconds;
}

// The first moment at or after `after` whose local time of day is `second`.
double nextAt(double after, int second) {
    const auto whole = static_cast<time_t>(std::floor(after));
    tm local{};
    ::localtime_r(&whole, &local);
    for (int day = 0; day < 3; ++day) {
        tm candidate = local;
        candidate.tm_mday += day;
        candidate.tm_hour = second / 3600;
        candidate.tm_min = second / 60 % 60;
        candidate.tm_sec = second % 60;
        candidate.tm_isdst = -1;
        const double at = static_cast<double>(::mktime(&candidate));
        if (at >= after) {
            return at;
        }
    }
    return after;
}

}  // namespace

std::variant<std::vector<ScriptLine>, ScriptError> parseDayScript(std::string_view text) {
    std::vector<ScriptLine> lines;
    int number = 0;
    while (!text.empty()) {
        ++number;
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.empty() || line.front() == '#') {
            continue;
        }
        const std::optional<int> second = secondOfDay(line.substr(0, 8));
        if (!second || line.size() < 10 || line[8] != ' ') {
            return ScriptError{"script line " + std::to_string(number) +
                               ": expected HH:MM:SS and a command"};
        }
        lines.push_back({*second, std::string(line.substr(9))});
    }
    return lines;
}

DayScript::DayScript(std::vector<ScriptLine> lines, double startEpoch) {
    double cursor = startEpoch;
    for (ScriptLine& line : lines) {
        cursor = nextAt(cursor, line.secondOfDay);
        m_due.push_back({cursor, std::move(line.command)});
    }
}

std::optional<double> DayScript::nextDue() const {
    if (m_next >= m_due.size()) {
        return std::nullopt;
    }
    return m_due[m_next].epochSeconds;
}

std::optional<std::string> DayScript::takeDue(double epochSeconds) {
    if (m_next >= m_due.size() || m_due[m_next].epochSeconds > epochSeconds) {
        return std::nullopt;
    }
    return std::move(m_due[m_next++].command);
}

}  // namespace brevanto::sim
