// The 48 V battery bank: how full it is at each hour of the day and what
// voltage it shows at its terminals while charging or feeding the load.
#pragma once

#include <array>

namespace brevanto::sim {

constexpr double kEmptyVolts = 48.0;
constexpr double kAbsorptionVolts = 57.6;

class BatteryBank {
public:
    BatteryBank();

    // 0..1; hour in [0, 24).
    double stateOfCharge(double hour) const;

    // Open-circuit voltage at this charge, without the current's effect.
    static double restingVolts(double stateOfCharge);
    // netAmps > 0 charges the bank.
    static double terminalVolts(double stateOfCharge, double netAmps);
    // What the inverter shows as capacity, judged, as real units do, from
    // the voltage alone.
    static int capacityPercent(double volts);

private:
    static constexpr int kSteps = 24 * 60;
    std::array<double, kSteps> m_charge{};
};

}  // namespace brevanto::sim
