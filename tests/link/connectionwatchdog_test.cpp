// The reconnect watchdog: a reading thread that stops finishing cycles gets
// the link dropped and, five seconds later, connected again. Ticks and the
// reconnect timer are driven by hand.
#include <algorithm>

#include <gtest/gtest.h>

#include "connectionfixture.h"

namespace brevanto::testing {
namespace {

using Lines = std::vector<std::string>;

Lines concat(Lines lines, const Lines& more) {
    lines.insert(lines.end(), more.begin(), more.end());
    return lines;
}

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

// The link drops with the device, not cycles later: the reading thread's
// next exchange meets the hang-up.
class LostLinkTest : public WatchdogTest {
protected:
    void connectAt(int portNumber) {
        placeSimulator(portNumber);
        manager.ConnectInverter();
        ASSERT_TRUE(linkState.connected());
        events.clear();
    }
    void readingMeetsTheHangUp(int portNumber) {
        unplug(portNumber);
        link.query(InverterCommand::QPIGS, true);
    }
    std::string lostLine(int portNumber) const {
        return "Connection to " + portPath(portNumber) + " lost: Input/output error.";
    }
};

TEST_F(LostLinkTest, WithoutAutoReConnectTheLinkEndsInError) {
    settings.autoReConnect = false;
    connectAt(12);
    readingMeetsTheHangUp(12);
    EXPECT_EQ(takeEvents(), Lines{lostLine(12)});
    EXPECT_EQ(linkState.phase(), LinkPhase::Failed);
    EXPECT_EQ(linkState.labelCaption(), "Error");
    EXPECT_FALSE(link.isOpen());
    EXPECT_FALSE(timer.enabled() || timer1.enabled());
    EXPECT_FALSE(timerConnect.enabled());
    EXPECT_EQ(stopReading, true);
}

struct ComeBackCase {
    const char* name;
    bool autoSearch;
    int backAt;
};

void PrintTo(const ComeBackCase& c, std::ostream* os) {
    *os << c.name;
}

class LostLinkComeBackTest : public LostLinkTest,
                             public ::testing::WithParamInterface<ComeBackCase> {};

TEST_P(LostLinkComeBackTest, TheReconnectFindsTheInverterAgain) {
    settings.autoSearch = GetParam().autoSearch;
    settings.comPortIndex = 12;
    connectAt(12);
    readingMeetsTheHangUp(12);
    EXPECT_EQ(takeEvents(), Lines{lostLine(12)});
    EXPECT_EQ(linkState.phase(), LinkPhase::Idle);
    ASSERT_TRUE(timerConnect.enabled());
    EXPECT_EQ(timerConnect.interval(), 5000);

    placeSimulator(GetParam().backAt);  // the simulator started again
    manager.TimerConnectTimer();
    ASSERT_TRUE(linkState.connected());
    EXPECT_EQ(linkState.labelCaption(), "Connected");
    EXPECT_EQ(link.query(InverterCommand::QPIGS, true).valid, true);
    EXPECT_FALSE(timerConnect.enabled());
    EXPECT_EQ(readingStarts, 2);
}

INSTANTIATE_TEST_SUITE_P(Cases, LostLinkComeBackTest,
                         ::testing::Values(ComeBackCase{"SamePathConfigured", false, 12},
                                           ComeBackCase{"AnotherPortSearched", true, 7}),
                         [](const auto& info) { return std::string(info.param.name); });

// Attempts that keep failing wait twice as long each time, up to five
// minutes; only the first writes the search's lines.
TEST_F(LostLinkTest, FailingReconnectsBackOffAndWriteOneLineEach) {
    connectAt(12);
    readingMeetsTheHangUp(12);
    events.clear();
    manager.TimerConnectTimer();
    EXPECT_EQ(takeEvents(), concat(notFoundLines(1, 29),
                                   {"Port not found in system.", "AutoReconnect executed."}));
    std::vector<int> delays{timerConnect.interval()};
    for (int attempt = 2; attempt <= 8; ++attempt) {
        ASSERT_TRUE(timerConnect.enabled()) << attempt;
        manager.TimerConnectTimer();
        const int seconds = timerConnect.interval() / 1000;
        Lines expected{"AutoReconnect executed: Port not found in system. Next attempt in " +
                       std::to_string(seconds) + " s."};
        if (attempt == 6) {
            expected.push_back(kFatal);
        }
        EXPECT_EQ(takeEvents(), expected) << attempt;
        delays.push_back(timerConnect.interval());
    }
    EXPECT_EQ(delays,
              (std::vector<int>{10000, 20000, 40000, 80000, 160000, 300000, 300000, 300000}));

    placeSimulator(12);
    manager.TimerConnectTimer();
    EXPECT_EQ(takeEvents(), Lines{"AutoReconnect executed: Connected to " + portPath(12) +
                                  " port and Inverter."});
    EXPECT_TRUE(linkState.connected());
    EXPECT_FALSE(timerConnect.enabled());
}

enum class UserClick { ConnectThenDisconnect, TestBox };

class ReconnectCancelTest : public WatchdogTest, public ::testing::WithParamInterface<UserClick> {
protected:
    void click(UserClick which) {
        switch (which) {
            case UserClick::ConnectThenDisconnect:
                manager.ConnectInverter();
                manager.ConnectInverter();
                return;
            case UserClick::TestBox:
                linkState.setTestChecked(false);
                manager.TestClick();
                return;
        }
    }
};

// While the reconnect waits, the user takes the link in hand: the port is
// not grabbed back behind their back.
TEST_P(ReconnectCancelTest, TheUsersClickCancelsThePendingReconnect) {
    connectInTestMode();
    ASSERT_GT(stalledTicksUntilDisconnect(), 0);
    ASSERT_TRUE(timerConnect.enabled());
    click(GetParam());
    EXPECT_FALSE(timerConnect.enabled());
    EXPECT_FALSE(linkState.connected());
}

INSTANTIATE_TEST_SUITE_P(Clicks, ReconnectCancelTest,
                         ::testing::Values(UserClick::ConnectThenDisconnect, UserClick::TestBox),
                         [](const auto& info) {
                             return info.param == UserClick::TestBox
                                        ? std::string("TestBox")
                                        : std::string("ConnectThenDisconnect");
                         });

}  // namespace
}  // namespace brevanto::testing
