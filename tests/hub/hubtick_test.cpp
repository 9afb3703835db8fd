// The hub's own one-second tick: the watchdog compares the cycles finished
// since the tick before, so it must look before the tick notes the count.
#include <gtest/gtest.h>

#include "hubfixture.h"

namespace brevanto {
namespace {

using testing::HubFixture;

class HubTickTest : public HubFixture {};

TEST_F(HubTickTest, CyclesFinishingBetweenTicksKeepTheWatchdogQuiet) {
    start("[Main]\nMeasTime=0\nAutoReConnect=1\n");
    hub->FormCreate();
    hub->TestClick(true);
    hub->Connect1Click();
    ASSERT_TRUE(hub->linkState().connected());
    // More ticks than the watchdog lets pass before it drops a stalled link.
    for (int tick = 0; tick < 12; ++tick) {
        const int cycles = hub->acquisition().loopCount();
        ASSERT_TRUE(serveUntil([&] { return hub->acquisition().loopCount() > cycles; }));
        hub->TimerTimer();
    }
    EXPECT_TRUE(hub->linkState().connected());
    EXPECT_FALSE(hub->timers().TimerConnect.enabled());
    EXPECT_FALSE(hasEvent("Disconnected in Test Mode."));
}

TEST_F(HubTickTest, EachTickShowsTheClockAndTheReadings) {
    start("[Main]\nMeasTime=0\n");
    hub->FormCreate();
    hub->TestClick(true);
    hub->Connect1Click();
    ASSERT_TRUE(serveUntil([&] { return hub->acquisition().readings().MainValuesValid; }));
    clock.advance(std::chrono::seconds(5));
    const std::size_t shown = displays.size();
    hub->TimerTimer();
    EXPECT_EQ(hub->display().clockText(), "07.03.2015 14:02:16");
    ASSERT_EQ(displays.size(), shown + 1);
    EXPECT_EQ(displays.back(), hub->display().texts());
    EXPECT_EQ(mainPageLine(lines().bVar[0]), hub->display().texts().basic[0]);
}

}  // namespace
}  // namespace brevanto
