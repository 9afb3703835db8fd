// The month's energy as bars: one per day of the month's energy log, with
// the day's solar and line energy in kWh as that day's last line holds it
// (a day has a line for each run's end and one for its end).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/datetimeformat.h"

namespace brevanto {

struct DayEnergyBar {
    int day = 0;  // of the month, 1 to 31
    double solar = 0;
    double line = 0;  // the line energy as measured (actual)
};

struct MonthEnergyRead {
    std::vector<DayEnergyBar> days;  // by day, each day once
    // Empty when the file was read; otherwise the one line the chart shows.
    std::string problem;
};

// Lines of other months, and lines that do not read, are left out.
MonthEnergyRead readMonthEnergy(const std::filesystem::path& file, const DateTimeFormat& format,
                                int year, int month);

}  // namespace brevanto
