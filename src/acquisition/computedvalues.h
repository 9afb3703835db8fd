// The six values derived from the readings: the day's solar and line
// energies, the solar charging power and the running totals (kWh, power in W).
#pragma once

namespace brevanto {

// SolarEnergy, SolarPower, LineEnergyApp, LineEnergyAct, TotalSolar, TotalLine.
inline constexpr int kComputedValueCount = 6;

struct ComputedValues {
    double SolarEnergy = 0;    // since the last day change
    double SolarPower = 0;     // of the last good reading
    double LineEnergyApp = 0;  // apparent, while on line, since the last day change
    double LineEnergyAct = 0;  // active, while on line, since the last day change
    double TotalSolar = 0;     // running total of the solar steps
    double TotalLine = 0;      // running total of the active line steps

    bool operator==(const ComputedValues&) const = default;
};

}  // namespace brevanto
