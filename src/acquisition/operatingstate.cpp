#include "acquisition/operatingstate.h"

namespace brevanto {

std::string modeName(char letter) {
    switch (letter) {
        case 'L':
            return kLineMode;
        case 'B':
            return kBatteryMode;
        case 'P':
            return "Power ON";
        case 'S':
            return "Stand By";
        case 'F':
            return "Fault";
        case 'H':
            return "Power Saving";
        default:
            return kUnknown;
    }
}

namespace {

std::string batteryStateFrom(const ChargeFlags& flags) {
    if (flags == ChargeFlags{0, 0, 0}) {
        return "Stand-by";
    }
    if (flags == ChargeFlags{1, 1, 0}) {
        return "Solar charge";
    }
    if (flags == ChargeFlags{1, 0, 1}) {
        return "Line charge";
    }
    if (flags == ChargeFlags{1, 1, 1}) {
        return "Line-solar charge";
    }
    return "Not used";
}

}  // namespace

void startStatus(OperatingState& state, const ChargeFlags& flags, double dischargeA) {
    state.InverterMode = kUnknown;
    state.EnergySource = kUnknown;
    state.BatteryState = batteryStateFrom(flags);
    if ((state.BatteryState == "Not used" || state.BatteryState == "Stand-by") && dischargeA > 0) {
        state.BatteryState = "Discharging";
        state.EnergySource = "Source:Battery(1)";
    }
}

void applyModeLetter(OperatingState& state, char letter, double pvA, double chargeA) {
    state.InverterMode = modeName(letter);
    if (state.InverterMode != state.PrevInverterMode) {
        if (state.PrevInverterMode == kLineMode && state.InverterMode == kBatteryMode) {
            state.ModeSwitch = 1;
        } else if (state.PrevInverterMode == kBatteryMode && state.InverterMode == kLineMode) {
            state.ModeSwitch = 2;
        }
    }
    state.PrevInverterMode = state.InverterMode;
    if (state.EnergySource != kUnknown) {
        return;
    }
    if (letter == 'B') {
        state.EnergySource = pvA > 0 ? "Source:Batt./Solar" : "Source:Battery";
    } else if (letter == 'L') {
        state.EnergySource = "Source:Line(1)";
    } else {
        state.EnergySource = pvA - chargeA > 0 ? "Source:Solar" : "Source:Line(2)";
    }
}

}  // namespace brevanto
