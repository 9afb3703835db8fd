#include "acquisition/displaytexts.h"

#include "platform/numberformat.h"

namespace brevanto {

namespace {

constexpr int kComputedDecimals = 3;

}  // namespace

DisplayTexts::DisplayTexts() : mode(kUnset), battery(kUnset), load(kUnset) {
    basic.fill(kUnset);
    computed.fill(kUnset);
}

std::array<double, kComputedValueCount> computedInPanelOrder(const ComputedValues& values) {
    return {values.SolarEnergy,   values.SolarPower, values.LineEnergyApp,
            values.LineEnergyAct, values.TotalSolar, values.TotalLine};
}

PanelNumbers panelNumbers(const DisplayTexts& texts) {
    PanelNumbers numbers;
    for (std::size_t i = 0; i < texts.basic.size(); ++i) {
        numbers.basic[i] = parseLeadingNumber(texts.basic[i]);
    }
    for (std::size_t i = 0; i < texts.computed.size(); ++i) {
        numbers.computed[i] = parseLeadingNumber(texts.computed[i]);
    }
    return numbers;
}

DisplayTexts displayTexts(const InverterReadings& readings) {
    DisplayTexts texts;
    for (int k = 1; k <= kBasicVariableCount; ++k) {
        texts.basic[static_cast<std::size_t>(k - 1)] = readings.basic[static_cast<std::size_t>(k)];
    }
    texts.basic[kBatteryVoltage - 1] =
        readings.basic[kBatteryVoltage] + "[" + readings.SccBatteryVoltage + "]";
    const auto computed = computedInPanelOrder(readings.computed);
    for (std::size_t i = 0; i < computed.size(); ++i) {
        texts.computed[i] = formatFixed(computed[i], kComputedDecimals);
    }
    texts.mode = readings.state.InverterMode;
    texts.battery = readings.state.BatteryState;
    texts.load = readings.state.EnergySource;
    return texts;
}

}  // namespace brevanto
