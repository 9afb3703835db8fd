// What the one-second tick does besides the day change: output timer A,
// the switch between line and battery, and line faults; and Timer1's first
// tick after a connect.
#include <gtest/gtest.h>

#include "hubfixture.h"

namespace brevanto {
namespace {

using testing::HubFixture;

class SchedulerTicksTest : public HubFixture {
protected:
    void startAt(const LocalDateTime& when, const std::string& ini) {
        clock.set(when);
        start(ini);
        hub->FormCreate();
    }
    // A tick at this time of day, today.
    void tickAt(const TimeOfDay& time) {
        clock.set({clock.now().date, time});
        hub->TimerTimer();
    }
    std::size_t countEvents(const std::string& suffix) const {
        std::size_t count = 0;
        for (const std::string& line : events()) {
            count += line.ends_with(suffix + " ") ? 1 : 0;
        }
        return count;
    }
};

TEST_F(SchedulerTicksTest, TimerASwitchesTheReqByWebBoxOnceAtEachOfItsTimes) {
    startAt({{2015, 3, 7}, {7, 59, 58, 600}},
            "[Timer]\nA=1\nTime A ON=08:00:00\nTime A OFF=08:00:02\n");
    tickAt({7, 59, 59, 600});
    EXPECT_EQ(countEvents(" Timer ON "), 0U);
    tickAt({8, 0, 0, 600});
    tickAt({8, 0, 1, 600});
    EXPECT_EQ(countEvents(" Timer ON "), 1U);
    EXPECT_EQ(reqByWebBoxes, std::vector<bool>{true});
    EXPECT_TRUE(hub->settings().AppSettings().reqByWeb);
    tickAt({8, 0, 2, 600});
    EXPECT_EQ(countEvents(" Timer OFF "), 1U);
    EXPECT_EQ(reqByWebBoxes, (std::vector<bool>{true, false}));
    EXPECT_FALSE(hub->settings().AppSettings().reqByWeb);
}

TEST_F(SchedulerTicksTest, OnAndOffAtOneTimeBothRunOnFirstAndMidnightNeverSwitches) {
    startAt({{2015, 3, 7}, {9, 59, 59, 500}},
            "[Timer]\nA=1\nTime A ON=10:00:00\nTime A OFF=10:00:00\n"
            "B=1\nTime B ON=10:00:00\nTime B OFF=11:00:00\n");
    tickAt({10, 0, 0, 500});
    EXPECT_EQ(countEvents(" Timer ON "), 1U);
    EXPECT_EQ(countEvents(" Timer OFF "), 1U);
    EXPECT_FALSE(hub->reqByWeb().checked());
    EXPECT_FALSE(hub->settings().AppSettings().reqByWeb);

    // The default time, 00:00:00, across midnight; timer B never switches.
    hub.reset();
    startAt({{2015, 3, 7}, {23, 59, 58, 500}}, "[Timer]\nA=1\nB=1\n");
    tickAt({23, 59, 59, 500});
    clock.set({{2015, 3, 8}, {0, 0, 0, 500}});
    hub->TimerTimer();
    tickAt({0, 0, 1, 500});
    EXPECT_EQ(countEvents(" Timer ON "), 0U);
    EXPECT_EQ(countEvents(" Timer OFF "), 0U);
}

TEST_F(SchedulerTicksTest, ALineFaultIsReportedOnceAndItsRestoreClearsIt) {
    startAt({{2015, 3, 7}, {14, 2, 11}}, "[Main]\nMeasTime=3\n");
    LineState& line = hub->acquisition().lineState();
    line.LineTrend = -1;
    tickAt({14, 2, 12});
    tickAt({14, 2, 13});
    EXPECT_EQ(countEvents("Line Fault: 07.03.2015 14:02:12"), 1U);
    EXPECT_EQ(events().size(), 1U);
    EXPECT_TRUE(line.LineDownFlag);
    EXPECT_EQ(mainPageLine(lines().flowColour), "#FF0000");
    EXPECT_EQ(mainPageLine(lines().flowHeading), "Energy flow -- **WARNING** Line down --");

    line.LineTrend = 1;
    line.LineDownCount = 4;
    tickAt({14, 2, 20});
    EXPECT_TRUE(hasEvent("Line restored: 07.03.2015 14:02:20"));
    EXPECT_FALSE(line.LineDownFlag);
    EXPECT_EQ(line.LineTrend, 0);
    EXPECT_EQ(line.LineDownCount, 0);
    EXPECT_EQ(mainPageLine(lines().flowColour), "#0000FF");
    EXPECT_EQ(mainPageLine(lines().flowHeading), "Energy flow");
}

TEST_F(SchedulerTicksTest, ASwitchBetweenLineAndBatteryIsJournaledAndCleared) {
    startAt({{2015, 3, 7}, {14, 2, 11}}, "[Trigger]\nOut 4=1\n");
    OperatingState& state = hub->acquisition().operatingState();
    state.ModeSwitch = 1;
    tickAt({14, 2, 12});
    state.ModeSwitch = 2;
    tickAt({14, 2, 13});
    EXPECT_TRUE(hasEvent("Inverter switched from Line-bypass to Battery: 07.03.2015 14:02:12"));
    EXPECT_TRUE(hasEvent("Inverter switched from Battery To Line-Bypass: 07.03.2015 14:02:13"));
    ASSERT_TRUE(serveUntil([&] { return mails().size() == 2; }));
    EXPECT_EQ(mails()[0].message.body,
              "Inverter switched from Line-bypass to Battery: 07.03.2015 14:02:12");
    EXPECT_EQ(mails()[1].message.body,
              "Inverter switched from Battery To Line-Bypass: 07.03.2015 14:02:13");
    EXPECT_EQ(state.ModeSwitch, 0);
}

TEST_F(SchedulerTicksTest, Timer1sFirstTickSamplesStartsTheLogTimerAndSendsTheWindowToTheTray) {
    startAt({{2015, 3, 7}, {14, 2, 11}}, "[Main]\nAutoConnect=1\n[LogIn]\nLogBasic=1\n");
    int toTray = 0;
    const Subscription tray = hub->scheduler().addSendToTrayListener([&] { ++toTray; });
    MainTimers& timers = hub->timers();
    timers.Timer1.setEnabled(true);
    hub->scheduler().Timer1Timer();
    EXPECT_TRUE(timers.Timer3.enabled());
    EXPECT_TRUE(timers.Timer1.enabled());
    EXPECT_EQ(hub->dailyData().basic().table().rows().rowCount(), 1U);
    EXPECT_EQ(toTray, 1);
    // Later ticks of the same connection do nothing; Timer3 samples.
    hub->scheduler().Timer1Timer();
    EXPECT_EQ(hub->dailyData().basic().table().rows().rowCount(), 1U);
    hub->scheduler().Timer3Timer();
    EXPECT_EQ(hub->dailyData().basic().table().rows().rowCount(), 2U);
    timers.Timer3.setEnabled(false);
    hub->scheduler().Timer1Timer();
    EXPECT_EQ(toTray, 1);
}

TEST_F(SchedulerTicksTest, NoRowsAreTakenInTheReqByWebModeOrWithLogBasicClear) {
    startAt({{2015, 3, 7}, {14, 2, 11}}, "[Http]\nReqByWeb=1\n[LogIn]\nLogBasic=1\n");
    EXPECT_EQ(hub->scheduler().SampleLogRows(), clock.now());
    EXPECT_EQ(hub->dailyData().basic().table().rows().rowCount(), 0U);
    hub->settings().AppSettings().reqByWeb = false;
    hub->settings().AppSettings().logBasic = false;
    hub->scheduler().Timer3Timer();
    EXPECT_EQ(hub->dailyData().computed().table().rows().rowCount(), 0U);
}

}  // namespace
}  // namespace brevanto
