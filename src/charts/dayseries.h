// The day's curves as the charts draw them, taken from the basic readings'
// rows: PV power (PV input voltage times PV input current), battery
// voltage, output active power and battery capacity, each against the time
// of day. A test-mode day has 432,000 rows, so a row costs five floats.
#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace brevanto {

enum class DayCurve : std::size_t { PvPower, BatteryVoltage, OutputActivePower, BatteryCapacity };
inline constexpr std::size_t kDayCurveCount = 4;

// "PV power", "Battery voltage", "Output active power", "Battery capacity".
const char* dayCurveTitle(DayCurve curve);
// "W", "V", "W", "%".
const char* dayCurveUnit(DayCurve curve);
// PV power and output power share the watts axis; the other two the second one.
bool onPowerAxis(DayCurve curve);

struct DaySeries {
    // Seconds since midnight, in the order of the rows.
    std::vector<float> seconds;
    // One value per row and curve; NaN where a cell holds no number.
    std::array<std::vector<float>, kDayCurveCount> values;

    std::size_t size() const { return seconds.size(); }
    bool empty() const { return seconds.empty(); }
    std::span<const float> curve(DayCurve which) const {
        return values[static_cast<std::size_t>(which)];
    }
    void clear();
    // A row's cells as the basic table holds them: its time first, then the
    // fifteen readings. A row whose time does not read is left out: false.
    bool addRow(std::span<const std::string_view> cells);
    // A line of a basic log file.
    bool addLine(std::string_view line);
};

struct DaySeriesRead {
    DaySeries series;
    // Empty when the file was read; otherwise the one line the chart shows.
    std::string problem;
};

// A day's basic log file. Lines that do not read (a torn last line, a row
// cut short) are skipped.
DaySeriesRead readDaySeries(const std::filesystem::path& file);

}  // namespace brevanto
