// The simulator's scripted day and its own account of the energy it
// delivered: the truth and what the measuring rule makes of the readings.
#include <cstdlib>
#include <ctime>
#include <variant>

#include <gtest/gtest.h>

#include "inverter-sim/dayscript.h"
#include "inverter-sim/energyledger.h"

namespace brevanto::sim {
namespace {

class InverterSimDay : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("TZ", "UTC", 1);
        ::tzset();
    }
};

constexpr double kNoon = 1796990400.0;  // 2026-12-11 12:00:00 UTC
constexpr double kMidnight = kNoon + 12 * 3600.0;

QpigsReading reading(double pvAmps, double batteryVolts, double activeWatts) {
    QpigsReading r;
    r.pvAmps = pvAmps;
    r.batteryVolts = batteryVolts;
    r.activeWatts = activeWatts;
    return r;
}

TEST_F(InverterSimDay, TheTruthIsTheIntegralOfTheCurvesOnlyWhileOnTheLine) {
    const PlantModel plant(1);
    EnergyLedger ledger;
    ledger.advance(kNoon, plant, true);
    EXPECT_EQ(ledger.report(), "energy none") << "counted before anybody connected";

    ledger.connected(kNoon);
    ledger.advance(kNoon + 1800, plant, true);
    ledger.advance(kNoon + 3600, plant, false);
    // The same hour by the trapezoid rule at 10 s steps.
    double solarWh = 0;
    double lineWh = 0;
    for (double t = 0; t < 3600; t += 10) {
        const auto at = [&](double s) { return plant.power(12 * 3600.0 + s); };
        solarWh += (at(t).solarWatts + at(t + 10).solarWatts) / 2 * 10 / 3600;
        if (t < 1800) {
            lineWh += (at(t).loadWatts + at(t + 10).loadWatts) / 2 * 10 / 3600;
        }
    }
    double solar = 0;
    double line = 0;
    ASSERT_EQ(
        std::sscanf(ledger.report().c_str(), "energy 2026-12-11 solar=%lf line=%lf", &solar, &line),
        2)
        << ledger.report();
    EXPECT_NEAR(solar, solarWh / 1000, solarWh / 1000 * 1e-4);
    EXPECT_NEAR(line, lineWh / 1000, lineWh / 1000 * 1e-4);
    EXPECT_GT(solar, 1.0) << "a noon hour of sun";
}

TEST_F(InverterSimDay, TheRuleCountsEachReadingForTheTimeSinceTheOneBefore) {
    EnergyLedger ledger;
    ledger.sampled(kNoon, reading(10, 50, 800), true);  // before any connect: nobody's
    ledger.connected(kNoon);
    ledger.sampled(kNoon + 36, reading(10, 50.004, 800), true);  // shown as 50.00 V
    ledger.sampled(kNoon + 72, reading(10, 50, 800), false);
    ledger.sampled(kNoon + 72 + 1000, reading(36, 50, 800), false);  // at most 300 s
    ledger.sampled(kMidnight - 10, reading(0, 50, 360), true);
    ledger.sampled(kMidnight + 10, reading(0, 50, 360), true);  // 10 s of the new day
    // 10 A x 50 V for 72 s, then 36 A x 50 V for 300 s; on the line 800 W
    // for 36 s and 360 W for 300 s, then 360 W for the new day's first 10 s.
    EXPECT_EQ(ledger.report(),
              "energy 2026-12-11 solar=0.000000 line=0.000000 sampled_solar=0.160000 "
              "sampled_line=0.038000 readings=4; 2026-12-12 solar=0.000000 line=0.000000 "
              "sampled_solar=0.000000 sampled_line=0.001000 readings=1");
}

TEST_F(InverterSimDay, AConnectStartsTheCountAfresh) {
    EnergyLedger ledger;
    ledger.connected(kNoon);
    ledger.sampled(kNoon + 10, reading(36, 50, 0), false);
    ledger.connected(kNoon + 200);
    ledger.sampled(kNoon + 210, reading(36, 50, 0), false);
    EXPECT_EQ(ledger.report(),
              "energy 2026-12-11 solar=0.000000 line=0.000000 sampled_solar=0.010000 "
              "sampled_line=0.000000 readings=2");
}

TEST_F(InverterSimDay, ScriptLinesRunInOrderEachAtItsTimeOfDayComingRound) {
    auto parsed = parseDayScript(
        "# the day\r\n12:00:00 mode B\n\n23:00:00 grid off\r\n02:00:00 grid on\n02:00:00 report\n");
    ASSERT_TRUE(std::holds_alternative<std::vector<ScriptLine>>(parsed));
    auto lines = std::get<std::vector<ScriptLine>>(parsed);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1], (ScriptLine{23 * 3600, "grid off"}));

    DayScript script(lines, kNoon - 60);
    EXPECT_EQ(script.nextDue(), kNoon);
    EXPECT_EQ(script.takeDue(kNoon - 1), std::nullopt);
    EXPECT_EQ(script.takeDue(kNoon), "mode B");
    EXPECT_EQ(script.takeDue(kNoon + 11 * 3600), "grid off");
    EXPECT_EQ(script.nextDue(), kMidnight + 2 * 3600) << "02:00 comes round the next day";
    EXPECT_EQ(script.takeDue(kMidnight + 2 * 3600), "grid on");
    EXPECT_EQ(script.takeDue(kMidnight + 2 * 3600), "report") << "the same moment, in order";
    EXPECT_EQ(script.nextDue(), std::nullopt);
}

TEST_F(InverterSimDay, AScriptLineThatIsNotATimeAndACommandNamesItsLine) {
    for (const char* text : {"12:00:00\n", "12:00 mode B\n", "24:00:00 mode B\n",
                             "# fine\n12:00:00 mode B\n1200:00:00 mode B\n", "12:60:00 mode B"}) {
        const auto parsed = parseDayScript(text);
        ASSERT_TRUE(std::holds_alternative<ScriptError>(parsed)) << text;
        EXPECT_EQ(std::get<ScriptError>(parsed).message.rfind("script line ", 0), 0u) << text;
    }
    EXPECT_EQ(std::get<ScriptError>(parseDayScript("# fine\n12:00:00 mode B\nnoon\n")).message,
              "script line 3: expected HH:MM:SS and a command");
}

}  // namespace
}  // namespace brevanto::sim
