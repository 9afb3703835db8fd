// A day of faults written down beforehand: lines "HH:MM:SS command", where
// the command is any console command. The lines run in their order, each at
// the first moment its time of day comes round after the line before, so a
// script that starts at noon reaches past midnight by going back to 00:...
// Blank lines and lines starting with '#' are left out.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace brevanto::sim {

struct ScriptLine {
    int secondOfDay = 0;
    std::string command;

    bool operator==(const ScriptLine&) const = default;
};

struct ScriptError {
    std::string message;  // names the line, from 1
};

std::variant<std::vector<ScriptLine>, ScriptError> parseDayScript(std::string_view text);

class DayScript {
public:
    DayScript() = default;
    // Sets the lines on the calendar from `startEpoch` on, in local time.
    DayScript(std::vector<ScriptLine> lines, double startEpoch);

    // When the next line is due, none when all have run.
    std::optional<double> nextDue() const;
    // The next line's command, if it is due by `epochSeconds`.
    std::optional<std::string> takeDue(double epochSeconds);

private:
    struct Due {
        double epochSeconds;
        std::string command;
    };
    std::vector<Due> m_due;
    std::size_t m_next = 0;
};

}  // namespace brevanto::sim
