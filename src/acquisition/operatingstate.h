// The operating state in words: what the inverter's mode letter means, what
// the battery is doing and where the load's energy comes from.
#pragma once

#include <string>

#include "link/replyfields.h"

namespace brevanto {

struct OperatingState {
    std::string InverterMode;
    std::string EnergySource;
    std::string BatteryState;
    std::string PrevInverterMode;
    int ModeSwitch = 0;  // 1 line to battery, 2 battery to line; cleared by the scheduler

    bool operator==(const OperatingState&) const = default;
};

inline constexpr const char* kLineMode = "Line (bypass)";
inline constexpr const char* kBatteryMode = "Battery";
inline constexpr const char* kUnknown = "Unknown";

// "Line (bypass)" for 'L' and so on; "Unknown" for any other letter.
std::string modeName(char letter);

// The battery's state from the charge flags, before the mode is known:
// "Stand-by", "Solar charge", "Line charge", "Line-solar charge", or
// "Not used"; a discharge current turns "Not used" and "Stand-by" into
// "Discharging" with the source "Source:Battery(1)".
void startStatus(OperatingState& state, const ChargeFlags& flags, double dischargeA);

// A good status reply: the mode, a switch between line and battery, and the
// energy source if the charge flags did not already name it.
void applyModeLetter(OperatingState& state, char letter, double pvA, double chargeA);

}  // namespace brevanto
