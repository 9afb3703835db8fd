// Test mode, the plain disconnect and the output hold a connect re-arms.
#include <gtest/gtest.h>

#include "connectionfixture.h"

namespace brevanto::testing {
namespace {

using Lines = std::vector<std::string>;

class ConnectionModesTest : public ConnectionFixture {};

TEST_F(ConnectionModesTest, TestModeMeasuresWithoutOpeningAnyPort) {
    placeSimulator(1);  // an inverter the search would find at once
    linkState.setTestChecked(true);
    manager.ConnectInverter();
    EXPECT_EQ(takeEvents(), Lines{"Connected in Test Mode."});
    EXPECT_EQ(linkState.snapshot(), (LinkState::Snapshot{.phase = LinkPhase::Running,
                                                         .labelCaption = "Test Mode",
                                                         .testChecked = true,
                                                         .testEnabled = false}));
    EXPECT_FALSE(link.isOpen());
    EXPECT_TRUE(portFree(1));
    EXPECT_TRUE(timer.enabled());
    EXPECT_TRUE(timer1.enabled());
    EXPECT_EQ(readingStarts, 1);
    EXPECT_EQ(displayUpdates, 1);

    timer3.setEnabled(true);
    manager.ConnectInverter();
    EXPECT_EQ(takeEvents(), Lines{"Disconnected in Test Mode."});
    EXPECT_EQ(linkState.snapshot(),
              (LinkState::Snapshot{
                  .phase = LinkPhase::Idle, .labelCaption = "Test Mode", .testChecked = true}));
    EXPECT_FALSE(timer.enabled() || timer1.enabled() || timer3.enabled());
    EXPECT_EQ(stopReading, true);
}

TEST_F(ConnectionModesTest, ADisconnectClosesThePortAndWritesNothing) {
    settings = {.comPort = "COM2", .comPortIndex = 2, .autoSearch = false};
    placeSimulator(2);
    manager.ConnectInverter();
    ASSERT_TRUE(linkState.connected());
    events.clear();
    linkState.setConnectEnabled(false);
    timer3.setEnabled(true);
    manager.ConnectInverter();
    EXPECT_TRUE(events.messages().empty());
    EXPECT_EQ(linkState.snapshot(), LinkState::Snapshot{});
    EXPECT_FALSE(link.isOpen());
    EXPECT_TRUE(portFree(2));
    EXPECT_FALSE(timer.enabled() || timer1.enabled() || timer3.enabled());
    EXPECT_EQ(stopReading, true);
}

TEST_F(ConnectionModesTest, TheTestBoxSpeedsUpTheLogTimerAndLeavesItSo) {
    timer3.setInterval(60000);
    linkState.setTestChecked(true);
    manager.TestClick();
    EXPECT_EQ(timer3.interval(), 200);
    linkState.setTestChecked(false);
    manager.TestClick();
    EXPECT_EQ(timer3.interval(), 200);
    EXPECT_EQ(takeEvents(), (Lines{"Entering in TEST mode.", "Leaving TEST mode."}));
}

struct OffTimerCase {
    const char* name;
    bool armed;
    bool connects;  // in test mode, or to an absent configured port
    bool enabled;
};

void PrintTo(const OffTimerCase& c, std::ostream* os) {
    *os << c.name;
}

class OffTimerTest : public ConnectionFixture,
                     public ::testing::WithParamInterface<OffTimerCase> {};

TEST_P(OffTimerTest, AConnectStartsTheArmedOutputHold) {
    const OffTimerCase& c = GetParam();
    offTimerArmed = c.armed;
    settings.autoSearch = false;  // COM1 is absent
    linkState.setTestChecked(c.connects);
    manager.ConnectInverter();
    ASSERT_EQ(linkState.connected(), c.connects);
    EXPECT_EQ(timerOff.enabled(), c.enabled);
    timerOff.setEnabled(false);
    manager.ConnectInverter();  // a disconnect, or a second failure
    EXPECT_FALSE(timerOff.enabled());
}

INSTANTIATE_TEST_SUITE_P(Cases, OffTimerTest,
                         ::testing::Values(OffTimerCase{"ArmedAndConnected", true, true, true},
                                           OffTimerCase{"ArmedButFailed", true, false, false},
                                           OffTimerCase{"NotArmed", false, true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace brevanto::testing
