// Where the program puts today's files, by the machine's own clock, as the
// whole-program tests look for them.
#pragma once

#include <ctime>
#include <filesystem>
#include <string>

namespace brevanto::testing {

// Log/<kind>/<Y>/<M>/<D>/<prefix><D>-<M>-<Y><extension>.
inline std::filesystem::path todaysLogFile(const std::string& kind, const std::string& prefix,
                                           const std::string& extension) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    const std::string day = std::to_string(local.tm_mday);
    const std::string month = std::to_string(local.tm_mon + 1);
    const std::string year = std::to_string(local.tm_year + 1900);
    return std::filesystem::path("Log") / kind / year / month / day /
           (prefix + day + "-" + month + "-" + year + extension);
}

}  // namespace brevanto::testing
