// What the main window's panels show, computed from the readings without a
// window: the main page carries the very same texts, so both are made here.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "acquisition/basicvariables.h"
#include "acquisition/computedvalues.h"
#include "acquisition/inverterreadings.h"

namespace brevanto {

struct DisplayTexts {
    static constexpr const char* kUnset = "---";

    // Basic variables 1 to 15 at index 0 to 14.
    std::array<std::string, kBasicVariableCount> basic;
    // SolarEnergy, SolarPower, LineEnergyApp, LineEnergyAct, TotalSolar, TotalLine.
    std::array<std::string, kComputedValueCount> computed;
    std::string mode;
    std::string battery;
    std::string load;

    // Every panel as the window starts: "---".
    DisplayTexts();
    bool operator==(const DisplayTexts&) const = default;
};

// The battery voltage panel also shows the charge controller's view of the
// battery, "52.10[52.20]"; energies and power show three decimals.
DisplayTexts displayTexts(const InverterReadings& readings);

std::array<double, kComputedValueCount> computedInPanelOrder(const ComputedValues& values);

// The panels as numbers, for the programs that read them (a scrape, a
// broker): "---" and any other text without a leading number is none, and
// "52.10[52.20]" is 52.1.
struct PanelNumbers {
    std::array<std::optional<double>, kBasicVariableCount> basic{};
    std::array<std::optional<double>, kComputedValueCount> computed{};
};
PanelNumbers panelNumbers(const DisplayTexts& texts);

}  // namespace brevanto
