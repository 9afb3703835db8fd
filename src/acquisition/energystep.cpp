#include "acquisition/energystep.h"

#include "acquisition/readingnumber.h"

namespace brevanto {

void EnergyStep(ComputedValues& values, const EnergyInputs& inputs) {
    if (!inputs.mainValuesValid) {
        return;
    }
    const double pvCurrent = numberOrZero(inputs.pvInputCurrent);
    const double battery = numberOrZero(inputs.batteryVoltage);
    const double hours = inputs.elapsedSeconds / 3600.0;

    // Solar power is what the charger puts into the battery: its current
    // times the battery's voltage, not the PV side's volts times amps.
    const double solarStep = pvCurrent * battery * hours * 0.001;
    values.SolarEnergy += solarStep;
    values.SolarPower = pvCurrent * battery;
    if (inputs.onLine || inputs.testMode) {
        const double lineStep = hours * numberOrZero(inputs.outputActivePower) * 0.001;
        values.LineEnergyApp += hours * numberOrZero(inputs.outputApparentPower) * 0.001;
        values.LineEnergyAct += lineStep;
        values.TotalLine += lineStep;
    }
    values.TotalSolar += solarStep;
}

}  // namespace brevanto
