#include "charts/logcalendar.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string>
#include <system_error>

#include "store/logtree.h"

namespace brevanto {

namespace {

std::optional<int> folderNumber(const std::filesystem::path& folder) {
    const std::string name = folder.filename().string();
    int value = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), value);
    if (error != std::errc{} || end != name.data() + name.size()) {
        return std::nullopt;
    }
    return value;
}

// The numbered folders right under `folder`, each with its number.
std::vector<std::pair<int, std::filesystem::path>> numberedFolders(
    const std::filesystem::path& folder) {
    std::vector<std::pair<int, std::filesystem::path>> found;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        std::error_code kindError;
        if (!entry.is_directory(kindError)) {
            continue;
        }
        if (const std::optional<int> number = folderNumber(entry.path())) {
            found.emplace_back(*number, entry.path());
        }
    }
    return found;
}

}  // namespace

std::filesystem::path basicLogFile(const LocalDate& date) {
    return std::filesystem::path("Log") / "LogVariables" / std::to_string(date.year) /
           std::to_string(date.month) / std::to_string(date.day) /
           ("BasicLog_" + dayMonthYear(date) + ".csv");
}

std::filesystem::path energyLogFile(int year, int month) {
    const LocalDate first{year, month, 1};
    return std::filesystem::path("Log") / "LogEnergy" / std::to_string(year) /
           std::to_string(month) / ("EnergyLog_" + monthYear(first) + ".csv");
}

std::vector<LocalDate> daysWithBasicLog(const std::filesystem::path& root) {
    std::vector<LocalDate> days;
    for (const auto& [year, yearFolder] : numberedFolders(root / "Log" / "LogVariables")) {
        for (const auto& [month, monthFolder] : numberedFolders(yearFolder)) {
            for (const auto& [day, dayFolder] : numberedFolders(monthFolder)) {
                const LocalDate date{year, month, day};
                std::error_code error;
                if (std::filesystem::is_regular_file(root / basicLogFile(date), error)) {
                    days.push_back(date);
                }
            }
        }
    }
    std::sort(days.begin(), days.end());
    return days;
}

}  // namespace brevanto
