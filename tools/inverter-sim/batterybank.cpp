#include "inverter-sim/batterybank.h"

#include <algorithm>
#include <cmath>

#include "inverter-sim/solarday.h"

namespace brevanto::sim {
namespace {

constexpr double kNominalVolts = 51.0;
constexpr double kLowestCharge = 0.45;
constexpr double kHighestCharge = 1.0;
constexpr double kInternalOhms = 0.03;
constexpr double kFullRiseAmps = 10.0;

double nominalNetAmps(double hour) {
    const double load = loadBatteryAmps(loadApparentVa(hour) * kPowerFactor, kNominalVolts);
    return pvAvailableAmps(hour) - load;
}

}  // namespace

// The charge is the running sum of PV minus load through the day, with the
// day's surplus taken off evenly (what absorption and float waste once the
// bank tops up), so the same curve repeats every day: lowest just after
// sunrise, highest in the late afternoon. The sum is then scaled to the range
// a healthy bank that is never run flat sees.
BatteryBank::BatteryBank() {
    std::array<double, kSteps> net{};
    double mean = 0.0;
    for (int i = 0; i < kSteps; ++i) {
        net[i] = nominalNetAmps(i * kHoursPerDay / kSteps);
        mean += net[i] / kSteps;
    }
    double sum = 0.0;
    for (int i = 0; i < kSteps; ++i) {
        m_charge[i] = sum;
        sum += net[i] - mean;
    }
    const auto [low, high] = std::minmax_element(m_charge.begin(), m_charge.end());
    const double lowest = *low;
    const double span = *high - *low;
    for (double& charge : m_charge) {
        charge = kLowestCharge + (charge - lowest) / span * (kHighestCharge - kLowestCharge);
    }
}

double BatteryBank::stateOfCharge(double hour) const {
    const double position = std::fmod(hour, kHoursPerDay) / kHoursPerDay * kSteps;
    const int index = static_cast<int>(position) % kSteps;
    const double fraction = position - std::floor(position);
    const double next = m_charge[(index + 1) % kSteps];
    return m_charge[index] + fraction * (next - m_charge[index]);
}

double BatteryBank::restingVolts(double stateOfCharge) {
    return 48.8 + 5.0 * stateOfCharge;
}

// Charging lifts the voltage by the current through the bank's resistance
// and, near full, by the steep rise to the charger's absorption voltage; that
// rise fades with the charge current, so the voltage eases down in the
// evening instead of dropping the moment the panels fall behind the load.
double BatteryBank::terminalVolts(double stateOfCharge, double netAmps) {
    const double chargeShare = std::clamp(netAmps / kFullRiseAmps, 0.0, 1.0);
    const double nearFullRise = 3.8 * std::pow(stateOfCharge, 10.0) * chargeShare;
    const double volts = restingVolts(stateOfCharge) + kInternalOhms * netAmps + nearFullRise;
    return std::clamp(volts, kEmptyVolts, kAbsorptionVolts);
}

int BatteryBank::capacityPercent(double volts) {
    const double share = (volts - kEmptyVolts) / (kAbsorptionVolts - kEmptyVolts);
    return static_cast<int>(std::lround(std::clamp(share, 0.0, 1.0) * 100.0));
}

}  // namespace brevanto::sim
