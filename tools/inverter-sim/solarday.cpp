#include "inverter-sim/solarday.h"

#include <cmath>
#include <numbers>

namespace brevanto::sim {
namespace {

constexpr double kInverterEfficiency = 0.9;

// Distance in hours on the day's circle, so the evening peak reaches past
// midnight smoothly.
double hoursApart(double a, double b) {
    const double d = std::fabs(a - b);
    return std::fmin(d, kHoursPerDay - d);
}

double bump(double hour, double centre, double width) {
    const double x = hoursApart(hour, centre) / width;
    return std::exp(-0.5 * x * x);
}

}  // namespace

double pvAvailableAmps(double hour) {
    if (hour <= kSunriseHour || hour >= kSunsetHour) {
        return 0.0;
    }
    const double phase = (hour - kSunriseHour) / (kSunsetHour - kSunriseHour);
    return kPeakPvAmps * std::sin(std::numbers::pi * phase);
}

double loadApparentVa(double hour) {
    return 260.0 + 220.0 * bump(hour, 7.5, 1.0) + 140.0 * bump(hour, 13.0, 2.5) +
           420.0 * bump(hour, 20.0, 1.6);
}

double loadBatteryAmps(double activeWatts, double batteryVolts) {
    return activeWatts / (kInverterEfficiency * batteryVolts);
}

}  // namespace brevanto::sim
