#include "charts/monthenergy.h"

#include <map>
#include <string_view>

#include "platform/numberformat.h"
#include "store/filebytes.h"

namespace brevanto {

namespace {

constexpr std::size_t kMaxMonthFileBytes = std::size_t{64} << 20;

}  // namespace

MonthEnergyRead readMonthEnergy(const std::filesystem::path& file, const DateTimeFormat& format,
                                int year, int month) {
    MonthEnergyRead read;
    const FileBytes bytes = readSmallFile(file, kMaxMonthFileBytes);
    if (bytes.status == FileBytes::Status::Missing) {
        read.problem = "No energy was logged in this month.";
        return read;
    }
    if (bytes.status == FileBytes::Status::Unreadable) {
        read.problem = "The month's energy log cannot be read.";
        return read;
    }
    // date, solar, line (apparent), line (actual), total solar, total line
    std::map<int, DayEnergyBar> days;
    std::string_view rest = bytes.bytes;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        std::string_view fields[4];
        std::size_t count = 0;
        while (count < 4) {
            const std::size_t comma = line.find(',');
            fields[count++] = line.substr(0, comma);
            if (comma == std::string_view::npos) {
                break;
            }
            line.remove_prefix(comma + 1);
        }
        if (count < 4) {
            continue;
        }
        const std::optional<LocalDate> date = format.parseDate(fields[0]);
        const std::optional<double> solar = parseNumber(fields[1]);
        const std::optional<double> lineEnergy = parseNumber(fields[3]);
        if (!date || date->year != year || date->month != month || !solar || !lineEnergy) {
            continue;
        }
        days[date->day] = {date->day, *solar, *lineEnergy};
    }
    for (const auto& [day, bar] : days) {
        read.days.push_back(bar);
    }
    return read;
}

}  // namespace brevanto
