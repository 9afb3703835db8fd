#include "charts/dayseries.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

#include "acquisition/basicvariables.h"
#include "platform/numberformat.h"
#include "store/filebytes.h"

namespace brevanto {

namespace {

constexpr std::uintmax_t kMaxDayFileBytes = std::uintmax_t{1} << 30;
constexpr float kNoValue = std::numeric_limits<float>::quiet_NaN();

// A row is its time, then the readings by their numbers 1 to 15.
constexpr std::size_t kRowCells = 1 + kBasicVariableCount;

std::optional<int> readNumberPart(std::string_view& text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end == text.data()) {
        return std::nullopt;
    }
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    return value;
}

// Hours, minutes and seconds with whatever separator the locale's time
// uses; an AM/PM time gains its twelve hours.
std::optional<float> secondsOfDay(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    int parts[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i) {
        const std::optional<int> part = readNumberPart(text);
        if (!part) {
            return std::nullopt;
        }
        parts[i] = *part;
        if (i < 2) {
            if (text.empty() || (text.front() != ':' && text.front() != '.')) {
                return std::nullopt;
            }
            text.remove_prefix(1);
        }
    }
    int hour = parts[0];
    const bool pm = text.find_first_of("pP") != std::string_view::npos;
    const bool am = text.find_first_of("aA") != std::string_view::npos;
    if (pm && hour < 12) {
        hour += 12;
    } else if (am && hour == 12) {
        hour = 0;
    }
    if (hour > 23 || parts[1] > 59 || parts[2] > 59) {
        return std::nullopt;
    }
    return static_cast<float>(hour * 3600 + parts[1] * 60 + parts[2]);
}

float number(std::string_view text) {
    const std::optional<double> value = parseLeadingNumber(text);
    return value ? static_cast<float>(*value) : kNoValue;
}

}  // namespace

const char* dayCurveTitle(DayCurve curve) {
    switch (curve) {
        case DayCurve::PvPower:
            return "PV power";
        case DayCurve::BatteryVoltage:
            return "Battery voltage";
        case DayCurve::OutputActivePower:
            return "Output active power";
        case DayCurve::BatteryCapacity:
            return "Battery capacity";
    }
    return "";
}

const char* dayCurveUnit(DayCurve curve) {
    switch (curve) {
        case DayCurve::PvPower:
        case DayCurve::OutputActivePower:
            return "W";
        case DayCurve::BatteryVoltage:
            return "V";
        case DayCurve::BatteryCapacity:
            return "%";
    }
    return "";
}

bool onPowerAxis(DayCurve curve) {
    return curve == DayCurve::PvPower || curve == DayCurve::OutputActivePower;
}

void DaySeries::clear() {
    seconds.clear();
    for (std::vector<float>& curve : values) {
        curve.clear();
    }
}

bool DaySeries::addRow(std::span<const std::string_view> cells) {
    if (cells.size() < kRowCells) {
        return false;
    }
    const std::optional<float> time = secondsOfDay(cells[0]);
    if (!time) {
        return false;
    }
    seconds.push_back(*time);
    const float volts = number(cells[kPvInputVoltage]);
    const float amps = number(cells[kPvInputCurrent]);
    values[static_cast<std::size_t>(DayCurve::PvPower)].push_back(volts * amps);
    values[static_cast<std::size_t>(DayCurve::BatteryVoltage)].push_back(
        number(cells[kBatteryVoltage]));
    values[static_cast<std::size_t>(DayCurve::OutputActivePower)].push_back(
        number(cells[kOutputActivePower]));
    values[static_cast<std::size_t>(DayCurve::BatteryCapacity)].push_back(
        number(cells[kBatteryCapacity]));
    return true;
}

bool DaySeries::addLine(std::string_view line) {
    std::array<std::string_view, kRowCells> cells{};
    std::size_t count = 0;
    while (count < cells.size()) {
        const std::size_t comma = line.find(',');
        cells[count++] = line.substr(0, comma);
        if (comma == std::string_view::npos) {
            break;
        }
        line.remove_prefix(comma + 1);
    }
    return addRow(std::span<const std::string_view>(cells.data(), count));
}

DaySeriesRead readDaySeries(const std::filesystem::path& file) {
    DaySeriesRead read;
    const FileBytes bytes = readSmallFile(file, kMaxDayFileBytes);
    if (bytes.status == FileBytes::Status::Missing) {
        read.problem = "No readings were logged on this day.";
        return read;
    }
    if (bytes.status == FileBytes::Status::Unreadable) {
        read.problem = "The day's log file cannot be read.";
        return read;
    }
    std::string_view rest = bytes.bytes;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        read.series.addLine(line);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    }
    return read;
}

}  // namespace brevanto
