// Where the earlier days' files are, without making any folder: the basic
// log of a day and the energy log of a month under Log/, and the days for
// which a basic log is there.
#pragma once

#include <filesystem>
#include <vector>

#include "platform/localdatetime.h"

namespace brevanto {

// Relative to the working folder: Log/LogVariables/<Y>/<M>/<D>/BasicLog_<D>-<M>-<Y>.csv.
std::filesystem::path basicLogFile(const LocalDate& date);
// Log/LogEnergy/<Y>/<M>/EnergyLog_<M>-<Y>.csv.
std::filesystem::path energyLogFile(int year, int month);
// The days with a basic log file under `root`, oldest first.
std::vector<LocalDate> daysWithBasicLog(const std::filesystem::path& root);

}  // namespace brevanto
