#include "acquisition/energystep.h"

#include <gtest/gtest.h>

#include "acquisition/readingnumber.h"

namespace brevanto {
namespace {

EnergyInputs reading(const char* pvCurrent, const char* battery, int seconds) {
    EnergyInputs inputs;
    inputs.mainValuesValid = true;
    inputs.pvInputCurrent = pvCurrent;
    inputs.batteryVoltage = battery;
    inputs.outputApparentPower = "1000";
    inputs.outputActivePower = "800";
    inputs.elapsedSeconds = seconds;
    return inputs;
}

TEST(EnergyStep, SolarPowerAndEnergyFromTheChargerCurrentAndTheBattery) {
    ComputedValues values;
    EnergyStep(values, reading("10", "50", 3600));
    EXPECT_DOUBLE_EQ(values.SolarPower, 500);
    EXPECT_DOUBLE_EQ(values.SolarEnergy, 0.5);
    EXPECT_DOUBLE_EQ(values.TotalSolar, 0.5);

    ComputedValues fiveSeconds;
    EnergyStep(fiveSeconds, reading("10", "50", 5));
    EXPECT_NEAR(fiveSeconds.SolarEnergy, 0.000694, 0.0000005);
}

TEST(EnergyStep, LineEnergyCountsOnlyOnLineOrInTestMode) {
    struct Case {
        const char* name;
        bool onLine;
        bool testMode;
        double apparent;
        double active;
    };
    const Case cases[] = {
        {"battery mode", false, false, 0, 0},
        {"line (bypass)", true, false, 0.01, 0.008},
        {"test mode", false, true, 0.01, 0.008},
    };
    for (const Case& c : cases) {
        ComputedValues values;
        EnergyInputs inputs = reading("0", "50", 36);
        inputs.onLine = c.onLine;
        inputs.testMode = c.testMode;
        EnergyStep(values, inputs);
        EXPECT_NEAR(values.LineEnergyApp, c.apparent, 1e-12) << c.name;
        EXPECT_NEAR(values.LineEnergyAct, c.active, 1e-12) << c.name;
        EXPECT_NEAR(values.TotalLine, c.active, 1e-12) << c.name;
    }
}

TEST(EnergyStep, AFailedReadChangesNothing) {
    ComputedValues values{1, 2, 3, 4, 5, 6};
    EnergyInputs inputs = reading("10", "50", 3600);
    inputs.mainValuesValid = false;
    inputs.onLine = true;
    EnergyStep(values, inputs);
    EXPECT_EQ(values, (ComputedValues{1, 2, 3, 4, 5, 6}));
}

TEST(EnergyStep, TextsThatAreNoNumbersCountAsZero) {
    ComputedValues values;
    for (const char* text : {"", ".", "00", "0"}) {
        EnergyStep(values, reading(text, "50", 3600));
        EnergyStep(values, reading("10", text, 3600));
    }
    EXPECT_EQ(values.SolarEnergy, 0);
    EXPECT_EQ(values.SolarPower, 0);
    EXPECT_DOUBLE_EQ(numberOrZero(".5"), 0.5);
    EXPECT_DOUBLE_EQ(numberOrZero("2.1"), 2.1);
}

}  // namespace
}  // namespace brevanto
