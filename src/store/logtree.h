// Where a daily file goes: a tree of one directory per year, month and day
// under Log/<kind>/, made level by level as it is needed. When the kind's
// own directory cannot be made the user is told once and the file falls
// back to its emergency name in the working directory; a lower level that
// cannot be made falls back without a word.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/localdatetime.h"
#include "platform/prompts.h"

namespace brevanto {

enum class LogTreeDepth { Month, Day };

struct LogTreeNames {
    std::string_view kind;  // "LogVariables": the directory under Log/
    LogTreeDepth depth = LogTreeDepth::Day;
    std::string_view failureMessage;  // when Log/<kind> cannot be made
};

// "7-3-2015" for 7 March 2015; "3-2015" for its month.
std::string dayMonthYear(const LocalDate& date);
std::string monthYear(const LocalDate& date);

// Makes the missing levels under `root` and returns the path of `fileName`
// in them, relative to `root`; `fallbackName` when a level cannot be made.
std::filesystem::path nameLogFile(const std::filesystem::path& root, const LogTreeNames& names,
                                  const LocalDate& date, const std::string& fileName,
                                  const std::string& fallbackName, Prompts& prompts);

}  // namespace brevanto
