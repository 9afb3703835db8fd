// The reconnect watchdog: a reading thread that stops finishing cycles gets
// the link dropped and, five seconds later, connected again. Ticks and the
// reconnect timer are driven by hand.
#include <algorithm>

#include <gtest/gtest.h>

#include "connectionfixture.h"

namespace brevanto::testing {
namespace {

using Lines = std::vector<std::string>;

class WatchdogTest : public ConnectionFixture {
protected:
    WatchdogTest() { settings.autoReConnect = true; }

    void healthyTicks(int count) {
        for (int i = 0; i < count; ++i) {
            ++*loopCount;
            schedulerTick();
        }
    }
    // One watchdog disconnect and its reconnect, in test mode.
    int stallAndReconnect() {
        const int ticks = stalledTicksUntilDisconnect();
        EXPECT_TRUE(timerConnect.enabled());
        manager.TimerConnectTimer();
        EXPECT_TRUE(linkState.connected());
        return ticks;
    }
};

struct IntervalCase {
    int intervalMs;
    int ticks;  // stalled ticks until the disconnect
};

void PrintTo(const IntervalCase& c, std::ostream* os) {
    *os << c.intervalMs << " ms";
}

class WatchdogIntervalTest : public WatchdogTest,
                             public ::testing::WithParamInterface<IntervalCase> {};

TEST_P(WatchdogIntervalTest, DropsTheLinkAfterTwoIntervalsAndEightTicks) {
    timer1.setInterval(GetParam().intervalMs);
    connectInTestMode();
    healthyTicks(5);
    EXPECT_EQ(stalledTicksUntilDisconnect(), GetParam().ticks);
    EXPECT_EQ(takeEvents(), Lines{"Disconnected in Test Mode."});
    EXPECT_FALSE(timer.enabled());
    EXPECT_TRUE(timerConnect.enabled());
    EXPECT_EQ(timerConnect.interval(), 5000);
}

INSTANTIATE_TEST_SUITE_P(Intervals, WatchdogIntervalTest,
                         ::testing::Values(IntervalCase{500, 8}, IntervalCase{1000, 8},
                                           IntervalCase{2000, 11}, IntervalCase{5000, 17},
                                           IntervalCase{10000, 27}),
                         [](const auto& info) {
                             return std::to_string(info.param.intervalMs) + "ms";
                         });

TEST_F(WatchdogTest, AFinishedCycleStartsTheCountAgain) {
    timer1.setInterval(5000);
    connectInTestMode();
    for (int round = 0; round < 3; ++round) {
        EXPECT_EQ(stalledTicksUntilDisconnect(16), 0);
        healthyTicks(1);
    }
    EXPECT_TRUE(linkState.connected());
    EXPECT_FALSE(timerConnect.enabled());
}

struct NeverCase {
    const char* name;
    bool autoReConnect;
    bool threadExists;
};

void PrintTo(const NeverCase& c, std::ostream* os) {
    *os << c.name;
}

class WatchdogNeverTest : public WatchdogTest, public ::testing::WithParamInterface<NeverCase> {};

TEST_P(WatchdogNeverTest, LeavesTheLinkAlone) {
    settings.autoReConnect = GetParam().autoReConnect;
    if (!GetParam().threadExists) {
        loopCount.reset();
    }
    connectInTestMode();
    EXPECT_EQ(stalledTicksUntilDisconnect(1000), 0);
    EXPECT_TRUE(events.messages().empty());
    EXPECT_FALSE(timerConnect.enabled());
}

INSTANTIATE_TEST_SUITE_P(Cases, WatchdogNeverTest,
                         ::testing::Values(NeverCase{"AutoReConnectOff", false, true},
                                           NeverCase{"NoReadingThread", true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(WatchdogTest, ReconnectsThroughTheSearchFiveSecondsAfterTheDrop) {
    timer1.setInterval(5000);
    placeSimulator(12);
    manager.ConnectInverter();
    ASSERT_TRUE(linkState.connected());
    events.clear();
    healthyTicks(3);
    EXPECT_EQ(stalledTicksUntilDisconnect(), 17);
    EXPECT_TRUE(events.messages().empty());
    EXPECT_EQ(linkState.labelCaption(), "---");
    EXPECT_FALSE(link.isOpen());
    ASSERT_TRUE(timerConnect.enabled());
    EXPECT_EQ(timerConnect.interval(), 5000);

    manager.TimerConnectTimer();
    Lines expected = notFoundLines(1, 11);
    expected.insert(expected.end(), {"Trying port COM12...", "Inverter connected.",
                                     "Connected to " + portPath(12) + " port and Inverter.",
                                     "AutoReconnect executed."});
    EXPECT_EQ(takeEvents(), expected);
    EXPECT_EQ(linkState.labelCaption(), "Connected");
    EXPECT_TRUE(timer.enabled());
    EXPECT_FALSE(timerConnect.enabled());
    EXPECT_EQ(readingStarts, 2);
}

constexpr const char* kFatal =
    "FATAL: maximum number of reconnect attempt has been made. Check cable and Inverter.";

Lines reconnectLines(bool fatal) {
    Lines lines{"Disconnected in Test Mode.", "Connected in Test Mode.", "AutoReconnect executed."};
    if (fatal) {
        lines.push_back(kFatal);
    }
    return lines;
}

TEST_F(WatchdogTest, TheSixthReconnectInARowIsFatalAndTheNextStallStartsAfresh) {
    connectInTestMode();
    std::vector<int> ticks;
    Lines expected;
    for (int attempt = 1; attempt <= 7; ++attempt) {
        ticks.push_back(stallAndReconnect());
        const Lines lines = reconnectLines(attempt == 6);
        expected.insert(expected.end(), lines.begin(), lines.end());
    }
    // After the FATAL line one tick clears the counters, then eight more.
    EXPECT_EQ(ticks, (std::vector<int>{8, 8, 8, 8, 8, 8, 9}));
    EXPECT_EQ(takeEvents(), expected);
}

TEST_F(WatchdogTest, AHealthyTickBetweenReconnectsEndsTheSeries) {
    connectInTestMode();
    for (int attempt = 1; attempt <= 5; ++attempt) {
        stallAndReconnect();
    }
    healthyTicks(1);
    Lines fatalLines;
    for (int attempt = 1; attempt <= 6; ++attempt) {
        stallAndReconnect();
        for (const std::string& line : takeEvents()) {
            if (line == kFatal) {
                fatalLines.push_back("after attempt " + std::to_string(attempt));
            }
        }
    }
    EXPECT_EQ(fatalLines, Lines{"after attempt 6"});
}

TEST_F(WatchdogTest, TheReconnectTimerLeavesALinkTheUserRestoredAlone) {
    connectInTestMode();
    ASSERT_GT(stalledTicksUntilDisconnect(), 0);
    manager.ConnectInverter();  // the user, within the five seconds
    events.clear();
    manager.TimerConnectTimer();
    EXPECT_TRUE(linkState.connected());
    EXPECT_TRUE(events.messages().empty());
    EXPECT_FALSE(timerConnect.enabled());
}

TEST_F(WatchdogTest, AnUnpluggedAdapterIsDroppedOnlyWhenCyclesStop) {
    settings.comPort = "COM12";
    placeSimulator(12);
    manager.ConnectInverter();
    ASSERT_TRUE(linkState.connected());
    unplug(12);
    healthyTicks(30);  // failing cycles still finish
    EXPECT_TRUE(linkState.connected());
    events.clear();
    EXPECT_EQ(stalledTicksUntilDisconnect(), 8);
    manager.TimerConnectTimer();
    Lines expected = notFoundLines(1, 29);
    expected.insert(expected.end(), {"Port not found in system.", "AutoReconnect executed."});
    EXPECT_EQ(takeEvents(), expected);
    EXPECT_EQ(linkState.labelCaption(), "Error");

    // A reconnect that finds nothing tries again: quickly through the
    // series, then calmly, until the adapter is back.
    ASSERT_TRUE(timerConnect.enabled());
    EXPECT_EQ(timerConnect.interval(), 5000);
    for (int attempt = 2; attempt <= 6; ++attempt) {
        manager.TimerConnectTimer();
        ASSERT_TRUE(timerConnect.enabled()) << attempt;
    }
    const Lines afterSixth = takeEvents();
    EXPECT_EQ(afterSixth.back(), kFatal);
    EXPECT_EQ(timerConnect.interval(), ConnectionManager::kSlowReconnectDelayMs);
    manager.TimerConnectTimer();
    EXPECT_EQ(timerConnect.interval(), ConnectionManager::kSlowReconnectDelayMs);
    const Lines slowAttempt = takeEvents();
    EXPECT_EQ(std::count(slowAttempt.begin(), slowAttempt.end(), std::string(kFatal)), 0);

    placeSimulator(12);  // plugged in again
    manager.TimerConnectTimer();
    EXPECT_TRUE(linkState.connected());
    EXPECT_FALSE(timerConnect.enabled());
}

}  // namespace
}  // namespace brevanto::testing
