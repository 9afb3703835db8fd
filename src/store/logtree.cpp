#include "store/logtree.h"

#include <system_error>

namespace brevanto {
namespace {

// One level at a time: a level that exists as a directory is reused; a file
// in its place, or a refused creation, makes the level impossible.
bool ensureDirectory(const std::filesystem::path& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        return true;
    }
    return std::filesystem::create_directory(path, error) && !error;
}

}  // namespace

std::string dayMonthYear(const LocalDate& date) {
    return std::to_string(date.day) + "-" + monthYear(date);
}

std::string monthYear(const LocalDate& date) {
    return std::to_string(date.month) + "-" + std::to_string(date.year);
}

std::filesystem::path nameLogFile(const std::filesystem::path& root, const LogTreeNames& names,
                                  const LocalDate& date, const std::string& fileName,
                                  const std::string& fallbackName, Prompts& prompts) {
    const std::filesystem::path top = std::filesystem::path("Log") / names.kind;
    if (!ensureDirectory(root / top)) {
        prompts.showMessage(names.failureMessage);
        return fallbackName;
    }
    std::filesystem::path directory = top;
    const int levels = names.depth == LogTreeDepth::Day ? 3 : 2;
    const int parts[] = {date.year, date.month, date.day};
    for (int level = 0; level < levels; ++level) {
        directory /= std::to_string(parts[level]);
        if (!ensureDirectory(root / directory)) {
            return fallbackName;
        }
    }
    return directory / fileName;
}

}  // namespace brevanto
