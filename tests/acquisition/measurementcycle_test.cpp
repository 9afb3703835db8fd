// The reading thread against the simulator, with this thread as the main
// thread that serves its hand-overs.
#include "acquisition/measurementcycle.h"

#include <atomic>
#include <thread>

#include <gtest/gtest.h>

#include "acquisition/readplot.h"
#include "platform/queuedinvoker.h"
#include "platform/testing/manualclock.h"
#include "platform/testing/recordingeventsink.h"
#include "platform/testing/recordingprompts.h"
#include "support/simprocess.h"
#include "support/waituntil.h"

namespace brevanto {
namespace {

using namespace std::chrono_literals;

class MeasurementCycleTest : public ::testing::Test {
protected:
    MeasurementCycleTest() {
        linkState.setPhase(LinkPhase::Running);
        linkState.setLabelCaption("Connected");
        cycle.configure({0, " (Refresh = 1 sec.)"});
    }

    // Runs the thread until `cycles` have finished, serving its hand-overs.
    void runCycles(int cycles) {
        ReadPlot thread([this] { cycle.ReadInverter(); },
                        [] {
                            return ReadPlot::Gates{false, false, 0};
                        });
        thread.Resume();
        ASSERT_TRUE(testing::waitUntil([&] { return thread.LoopCount() >= cycles; }, invoker));
        thread.Terminate();
        // A cycle still running wants the main thread until it ends.
        std::atomic<bool> ended{false};
        std::thread joiner([&] {
            thread.WaitFor();
            ended = true;
        });
        ASSERT_TRUE(testing::waitUntil([&] { return ended.load(); }, invoker));
        joiner.join();
    }

    // Exactly one cycle, on a thread of its own, as the reading thread runs it.
    void runOneCycle() {
        std::atomic<bool> done{false};
        std::thread reading([&] {
            cycle.ReadInverter();
            done = true;
        });
        const bool ended = testing::waitUntil([&] { return done.load(); }, invoker);
        reading.join();
        ASSERT_TRUE(ended);
    }

    testing::SimProcess sim;
    testing::RecordingPrompts prompts;
    testing::RecordingEventSink events;
    testing::ManualClock clock;
    QueuedInvoker invoker;
    LinkState linkState;
    std::atomic<bool> showAllErrors{true};
    InverterLink link{prompts, events, [this] { return linkState.connected(); },
                      [this] { return showAllErrors.load(); }};
    DateTimeFormat format{"%d.%m.%Y", "%H:%M:%S"};
    Services services{clock, format, prompts, invoker, events, {}};
    MeasurementCycle cycle{services, link, linkState, [](int, int high) { return high; }};
    const InverterReadings& readings = cycle.readings();
};

TEST_F(MeasurementCycleTest, CyclesKeepTheReadingsCurrent) {
    ASSERT_EQ(link.open(sim.linkPath().string()), 0);
    ASSERT_EQ(sim.command("mode B"), "ok");
    cycle.timeBase().restart();
    runCycles(3);
    EXPECT_TRUE(readings.MainValuesValid);
    EXPECT_TRUE(readings.StatusValid);
    EXPECT_EQ(readings.state.InverterMode, "Battery");
    EXPECT_FALSE(readings.basic[kBatteryVoltage].empty());
    EXPECT_EQ(readings.MeasTimeText, "07.03.2015 - 14:02:11 (Refresh = 1 sec.)");
    EXPECT_TRUE(events.messages().empty());
}

TEST_F(MeasurementCycleTest, ASilentInverterWritesItsTwoErrorLinesEachCycle) {
    ASSERT_EQ(link.open(sim.linkPath().string()), 0);
    ASSERT_EQ(sim.command("silent on"), "ok");
    runCycles(2);
    const std::vector<std::string> expected = {
        "Error receiving main values (0/0)", "Error receiving status (0/5)",
        "Error receiving main values (0/0)", "Error receiving status (0/5)"};
    const auto messages = events.messages();
    ASSERT_GE(messages.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(messages.begin(), messages.begin() + 4), expected);
    EXPECT_FALSE(readings.MainValuesValid);
    EXPECT_TRUE(readings.MeasTimeText.empty());
}

// The stamp tells when the readings were last whole: both reads must succeed.
TEST_F(MeasurementCycleTest, OneFailedReadOfTwoLeavesTheStampAlone) {
    ASSERT_EQ(link.open(sim.linkPath().string()), 0);
    for (const char* spoiled : {"raw QPIGS 284e414b73730d", "raw QMOD 284c"}) {
        ASSERT_EQ(sim.command(spoiled), "ok");  // a refusal, a status cut short
        runOneCycle();
        EXPECT_NE(readings.MainValuesValid, readings.StatusValid) << spoiled;
        EXPECT_TRUE(readings.MeasTimeText.empty()) << spoiled;
    }
}

struct ModeCase {
    const char* letter;
    bool countsLineEnergy;
};

class MeasurementCycleModeTest : public MeasurementCycleTest,
                                 public ::testing::WithParamInterface<ModeCase> {};

// The load's energy counts as line energy only while the inverter runs from
// the line.
TEST_P(MeasurementCycleModeTest, LineEnergyFollowsTheBypassMode) {
    ASSERT_EQ(link.open(sim.linkPath().string()), 0);
    ASSERT_EQ(sim.command(std::string("mode ") + GetParam().letter), "ok");
    cycle.timeBase().restart();
    clock.advance(3600s);
    runOneCycle();
    ASSERT_TRUE(readings.MainValuesValid);
    ASSERT_GT(std::stod(readings.basic[kOutputActivePower]), 0.0);
    EXPECT_EQ(readings.computed.LineEnergyAct > 0.0, GetParam().countsLineEnergy);
    EXPECT_EQ(readings.computed.TotalLine > 0.0, GetParam().countsLineEnergy);
}

INSTANTIATE_TEST_SUITE_P(Modes, MeasurementCycleModeTest,
                         ::testing::Values(ModeCase{"L", true}, ModeCase{"B", false}),
                         [](const auto& info) { return std::string(info.param.letter); });

TEST_F(MeasurementCycleTest, TestModeReadsWithoutAPort) {
    linkState.setTestChecked(true);
    linkState.setLabelCaption("Test Mode");
    cycle.timeBase().setLongestStep(std::chrono::hours(3));
    cycle.timeBase().restart();
    clock.advance(3600s);
    runCycles(1);
    EXPECT_EQ(readings.basic[kAcVoltage], "239");
    EXPECT_EQ(readings.state.InverterMode, "Test Mode");
    EXPECT_DOUBLE_EQ(readings.computed.SolarPower, 39.0 * 54.0);
    // Test mode counts the load's energy as if the inverter ran from the line.
    EXPECT_DOUBLE_EQ(readings.computed.LineEnergyApp, 3.999);
    EXPECT_FALSE(readings.MeasTimeText.empty());
    EXPECT_FALSE(link.isOpen());
}

}  // namespace
}  // namespace brevanto
