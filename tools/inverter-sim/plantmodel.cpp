#include "inverter-sim/plantmodel.h"

#include <algorithm>
#include <cmath>

#include "inverter-sim/solarday.h"

namespace brevanto::sim {
namespace {

constexpr double kRatedVa = 4000.0;

double hourOfDay(double secondsSinceMidnight) {
    const double hour = std::fmod(secondsSinceMidnight / 3600.0, kHoursPerDay);
    return hour < 0.0 ? hour + kHoursPerDay : hour;
}

}  // namespace

PlantModel::PlantModel(uint64_t seed) : m_random(seed) {}

double PlantModel::jitter(double spread) {
    return std::uniform_real_distribution<double>(-spread, spread)(m_random);
}

// Currents are rounded to whole amps before anything depends on them, so the
// flags, the charge and discharge currents and the PV power agree with what
// the reply shows rather than with hidden fractions.
QpigsReading PlantModel::reading(double secondsSinceMidnight) {
    const double hour = hourOfDay(secondsSinceMidnight);
    const double pvShare = pvAvailableAmps(hour) / kPeakPvAmps;
    const double stateOfCharge = m_bank.stateOfCharge(hour);

    QpigsReading r;
    r.pvAmps = std::round(pvAvailableAmps(hour) * (1.0 + jitter(0.03)));
    r.apparentVa =
        std::round(std::clamp(loadApparentVa(hour) * (1.0 + jitter(0.08)), kMinLoadVa, kMaxLoadVa));
    r.activeWatts = std::round(r.apparentVa * (kPowerFactor + jitter(0.03)));
    r.loadPercent = std::round(r.apparentVa / kRatedVa * 100.0);

    const double loadAmps =
        loadBatteryAmps(r.activeWatts, BatteryBank::restingVolts(stateOfCharge));
    const double netAmps = r.pvAmps - loadAmps;
    r.chargeAmps = std::round(std::max(netAmps, 0.0));
    r.dischargeAmps = std::round(std::max(-netAmps, 0.0));
    r.batteryVolts = std::clamp(BatteryBank::terminalVolts(stateOfCharge, netAmps) + jitter(0.02),
                                kEmptyVolts, kAbsorptionVolts);
    r.capacityPercent = BatteryBank::capacityPercent(r.batteryVolts);

    // The panels show their voltage as soon as light reaches them; the
    // charger reports the battery it sees only while it is awake.
    r.pvVolts = pvShare > 0.0
                    ? std::clamp(104.0 + 28.0 * std::sqrt(pvShare) + jitter(2.0), 100.0, 140.0)
                    : 0.0;
    r.sccCharging = r.pvAmps > 0.0;
    r.sccVolts = r.sccCharging ? r.batteryVolts + 0.06 + jitter(0.04) : 0.0;
    r.pvWatts = std::round(r.pvAmps * r.batteryVolts);

    r.gridVolts = 230.0 + jitter(2.5);
    r.gridHertz = 50.0 + jitter(0.1);
    r.outputVolts = 230.0 + jitter(0.4);
    r.outputHertz = 50.0 + jitter(0.04);
    r.busVolts = std::clamp(392.0 + 18.0 * pvShare + jitter(4.0), 380.0, 420.0);
    r.heatSinkCelsius = std::clamp(
        31.0 + 9.0 * r.apparentVa / kMaxLoadVa + 8.0 * pvShare + jitter(1.0), 30.0, 50.0);

    r.loadOn = true;
    r.acCharging = false;
    r.charging = r.sccCharging || r.acCharging;
    return r;
}

// The same curves as reading(), with every noise term at its mean.
PlantPower PlantModel::power(double secondsSinceMidnight) const {
    const double hour = hourOfDay(secondsSinceMidnight);
    const double stateOfCharge = m_bank.stateOfCharge(hour);
    const double pvAmps = pvAvailableAmps(hour);
    const double activeWatts =
        std::clamp(loadApparentVa(hour), kMinLoadVa, kMaxLoadVa) * kPowerFactor;
    const double netAmps =
        pvAmps - loadBatteryAmps(activeWatts, BatteryBank::restingVolts(stateOfCharge));
    const double batteryVolts = std::clamp(BatteryBank::terminalVolts(stateOfCharge, netAmps),
                                           kEmptyVolts, kAbsorptionVolts);
    return PlantPower{pvAmps * batteryVolts, activeWatts};
}

}  // namespace brevanto::sim
