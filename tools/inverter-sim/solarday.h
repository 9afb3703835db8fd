// An ordinary sunny day at an off-grid site, free of noise: what the panels can
// deliver and what the household draws, hour by hour.
#pragma once

namespace brevanto::sim {

constexpr double kHoursPerDay = 24.0;
constexpr double kSunriseHour = 6.5;
constexpr double kSunsetHour = 19.0;
constexpr double kPeakPvAmps = 50.0;
constexpr double kMinLoadVa = 200.0;
constexpr double kMaxLoadVa = 900.0;
constexpr double kPowerFactor = 0.86;

// Current the solar charger could push into the battery; hour in [0, 24).
double pvAvailableAmps(double hour);

// Apparent power the household draws: a low night, a breakfast bump, a
// midday plateau and an evening peak.
double loadApparentVa(double hour);

// Battery current that feeds the inverter for a given active output power.
double loadBatteryAmps(double activeWatts, double batteryVolts);

}  // namespace brevanto::sim
