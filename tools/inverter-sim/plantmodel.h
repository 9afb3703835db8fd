// Turns a moment of the local day into a full set of QPIGS values: the day's
// curves plus a little seeded noise, so runs with the same seed repeat.
#pragma once

#include <cstdint>
#include <random>

#include "inverter-sim/batterybank.h"
#include "inverter-sim/qpigspayload.h"

namespace brevanto::sim {

// What flows at one moment, free of noise and of the readings' rounding:
// the truth that the readings sample.
struct PlantPower {
    double solarWatts = 0;  // the charger's current times the battery's voltage
    double loadWatts = 0;   // the household's active power
};

class PlantModel {
public:
    explicit PlantModel(uint64_t seed);

    QpigsReading reading(double secondsSinceMidnight);
    PlantPower power(double secondsSinceMidnight) const;

private:
    // Uniform in [-spread, spread].
    double jitter(double spread);

    std::mt19937_64 m_random;
    BatteryBank m_bank;
};

}  // namespace brevanto::sim
