// Advances the computed values by one measurement cycle: the solar charging
// energy always, the load's energy only while the inverter runs from the line
// (or in test mode). Each step covers the time since the previous good read.
#pragma once

#include <string_view>

#include "acquisition/computedvalues.h"

namespace brevanto {

struct EnergyInputs {
    bool mainValuesValid = false;  // this cycle's main-values read succeeded
    std::string_view pvInputCurrent;
    std::string_view batteryVoltage;
    std::string_view outputApparentPower;
    std::string_view outputActivePower;
    bool onLine = false;  // InverterMode is "Line (bypass)"
    bool testMode = false;
    int elapsedSeconds = 0;
};

void EnergyStep(ComputedValues& values, const EnergyInputs& inputs);

}  // namespace brevanto
