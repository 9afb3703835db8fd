#include "inverter-sim/energyledger.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace brevanto::sim {
namespace {

constexpr double kTruthStepSeconds = 1.0;

struct LocalMoment {
    std::string date;
    double secondsSinceMidnight = 0;
};

LocalMoment localMoment(double epochSeconds) {
    const auto whole = static_cast<time_t>(std::floor(epochSeconds));
    tm local{};
    ::localtime_r(&whole, &local);
    char date[48];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday);
    return LocalMoment{date, local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec +
                                 (epochSeconds - static_cast<double>(whole))};
}

// Rounded as the reply's fields show them, since that is what a client reads.
double shownVolts(double volts) {
    return std::round(volts * 100.0) / 100.0;
}

}  // namespace

void EnergyLedger::advance(double epochSeconds, const PlantModel& plant, bool onLine) {
    if (!m_truthUpTo) {
        return;
    }
    while (*m_truthUpTo < epochSeconds) {
        const double step = std::min(kTruthStepSeconds, epochSeconds - *m_truthUpTo);
        const LocalMoment middle = localMoment(*m_truthUpTo + step / 2.0);
        const PlantPower power = plant.power(middle.secondsSinceMidnight);
        Day& day = m_days[middle.date];
        day.solarWh += power.solarWatts * step / 3600.0;
        if (onLine) {
            day.lineWh += power.loadWatts * step / 3600.0;
        }
        *m_truthUpTo += step;
    }
}

void EnergyLedger::connected(double epochSeconds) {
    if (!m_truthUpTo) {
        m_truthUpTo = epochSeconds;
    }
    m_lastReading = epochSeconds;
}

// A monitor's count starts afresh at the day change, so the first reading
// of a day covers only the time since midnight.
void EnergyLedger::sampled(double epochSeconds, const QpigsReading& reading, bool onLine) {
    if (!m_lastReading) {
        return;
    }
    const LocalMoment now = localMoment(epochSeconds);
    double seconds = epochSeconds - *m_lastReading;
    if (localMoment(*m_lastReading).date != now.date) {
        seconds = now.secondsSinceMidnight;
    }
    seconds = std::min(seconds, kLongestStepSeconds);
    m_lastReading = epochSeconds;

    Day& day = m_days[now.date];
    ++day.readings;
    day.sampledSolarWh += reading.pvAmps * shownVolts(reading.batteryVolts) * seconds / 3600.0;
    if (onLine) {
        day.sampledLineWh += reading.activeWatts * seconds / 3600.0;
    }
}

std::string EnergyLedger::report() const {
    if (m_days.empty()) {
        return "energy none";
    }
    std::string text = "energy";
    for (const auto& [date, day] : m_days) {
        char line[256];
        std::snprintf(line, sizeof line,
                      "%s %s solar=%.6f line=%.6f sampled_solar=%.6f sampled_line=%.6f "
                      "readings=%d",
                      text.size() > 6 ? ";" : "", date.c_str(), day.solarWh / 1000.0,
                      day.lineWh / 1000.0, day.sampledSolarWh / 1000.0, day.sampledLineWh / 1000.0,
                      day.readings);
        text += line;
    }
    return text;
}

}  // namespace brevanto::sim
