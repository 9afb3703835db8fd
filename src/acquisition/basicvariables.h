// The fifteen basic readings and where each comes from: its field of the
// main-values reply and the range test mode draws it from. The SCC battery
// voltage is a sixteenth reading without a panel of its own.
#pragma once

#include <array>
#include <string>

namespace brevanto {

struct BasicVariable {
    const char* key;   // [BasicInfo] key of its display name
    const char* unit;  // beside its panel and after its name on the main page
    int replyField;
    int testLow;
    int testHigh;
};

inline constexpr int kBasicVariableCount = 15;
inline constexpr int kSccBatteryVoltageField = 15;
inline constexpr int kSccTestLow = 44;
inline constexpr int kSccTestHigh = 54;

// Numbered 1 to 15 as the window, the settings and the pages number them.
inline constexpr std::array<BasicVariable, kBasicVariableCount> kBasicVariables{{
    {"AC Voltage", "V", 1, 200, 239},
    {"AC Frequency", "Hz", 2, 40, 54},
    {"PV Input Voltage", "V", 14, 40, 74},
    {"PV Input Corrent", "A", 13, 0, 39},
    {"Battery Voltage", "V", 9, 44, 54},
    {"Battery Capacity", "%", 11, 0, 99},
    {"Charging Current", "A", 10, 0, 19},
    {"Discharge Current", "A", 16, 0, 99},
    {"Output Frequency", "Hz", 4, 40, 54},
    {"Output Voltage", "V", 3, 200, 239},
    {"Output Apparent Power", "VA", 5, 0, 3999},
    {"Output Active Power", "W", 6, 0, 3999},
    {"Load Percent", "%", 7, 0, 99},
    {"Inverter Heat Sink temperature", "C", 12, 30, 59},
    {"Bus Voltage", "V", 8, 380, 409},
}};

// The numbers the rules refer to.
enum BasicVariableNumber {
    kAcVoltage = 1,
    kPvInputVoltage = 3,
    kPvInputCurrent = 4,
    kBatteryVoltage = 5,
    kBatteryCapacity = 6,
    kChargingCurrent = 7,
    kDischargeCurrent = 8,
    kOutputApparentPower = 11,
    kOutputActivePower = 12,
};

// Texts as the inverter sent them, without leading zeros; empty before the
// first good reading. Index 0 is unused.
using BasicVariables = std::array<std::string, kBasicVariableCount + 1>;

}  // namespace brevanto
