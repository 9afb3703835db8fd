// The timers' intervals as applying the settings sets them.
#include "schedule/maintimers.h"

#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace brevanto {
namespace {

class MainTimersTest : public ::testing::Test {
protected:
    MainTimersTest() {
        timers.Timer1.setInterval(777);
        timers.Timer3.setInterval(777);
    }

    LinkState link;
    MainTimers timers{link};
    TDati settings;
};

TEST_F(MainTimersTest, TheDefaultsMeasureEveryFiveSecondsAndLogEveryFiveMinutesFifty) {
    timers.configure(settings);
    EXPECT_EQ(timers.Timer.interval(), 1000);
    EXPECT_EQ(timers.Timer1.interval(), 5000);
    EXPECT_EQ(timers.Timer3.interval(), 350000);
    EXPECT_FALSE(timers.Timer1.enabled() || timers.Timer3.enabled() || timers.TimerOff.enabled());
}

TEST_F(MainTimersTest, MeasTimeSelectsTheMeasuringInterval) {
    const std::pair<std::int32_t, int> cases[] = {{0, 1000},    {5, 60000}, {6, 600000},
                                                  {7, 3600000}, {8, 777},   {-3, 777}};
    for (const auto& [index, interval] : cases) {
        timers.Timer1.setInterval(777);
        settings.measTime = index;
        timers.configure(settings);
        EXPECT_EQ(timers.Timer1.interval(), interval) << "MeasTime=" << index;
    }
}

TEST_F(MainTimersTest, UpdateLogSelectsTheLogInterval) {
    const std::pair<std::int32_t, int> cases[] = {{0, 60000},   {2, 350000}, {4, 950000},
                                                  {7, 3600000}, {9, 777},    {-1, 777}};
    for (const auto& [index, interval] : cases) {
        timers.Timer3.setInterval(777);
        settings.updateLog = index;
        timers.configure(settings);
        EXPECT_EQ(timers.Timer3.interval(), interval) << "UpdateLog=" << index;
    }
}

TEST_F(MainTimersTest, TestModeLogsEvery200Milliseconds) {
    link.setTestChecked(true);
    settings.updateLog = 4;
    timers.SetLogInterval(settings);
    EXPECT_EQ(timers.Timer3.interval(), 200);
}

TEST_F(MainTimersTest, RunningTimersRestartWithTheNewInterval) {
    timers.Timer1.setEnabled(true);
    timers.Timer3.setEnabled(true);
    std::vector<std::string> changes;
    const Subscription following = timers.Timer1.addChangeListener([&] {
        changes.push_back(std::to_string(timers.Timer1.enabled()) + " " +
                          std::to_string(timers.Timer1.interval()));
    });
    settings.measTime = 0;
    timers.configure(settings);
    EXPECT_EQ(changes, (std::vector<std::string>{"0 777", "0 1000", "1 1000"}));
    EXPECT_TRUE(timers.Timer3.enabled());
}

struct OffTimerCase {
    std::int32_t time;
    bool forceOn;
    bool connected;
    int interval;
    bool enabled;
    bool armed;
};

TEST_F(MainTimersTest, ConditionTimeArmsTheOffTimer) {
    constexpr int kLongest = std::numeric_limits<int>::max();
    const OffTimerCase cases[] = {
        {0, false, true, 0, false, false},
        {5, false, true, 5000, true, true},
        {5, false, false, 5000, false, true},
        {5, true, true, 5000, true, false},
        {0, true, true, 0, false, false},
        {-5, false, true, 0, false, false},
        {3000000, false, true, kLongest, true, true},
    };
    for (const auto& c : cases) {
        link.setPhase(c.connected ? LinkPhase::Running : LinkPhase::Idle);
        timers.TimerOff.setEnabled(true);
        settings.conditionTime = c.time;
        settings.forceOn = c.forceOn;
        settings.OffTimerArmed = !c.armed;
        timers.configure(settings);
        EXPECT_EQ(timers.TimerOff.interval(), c.interval) << c.time << " " << c.forceOn;
        EXPECT_EQ(timers.TimerOff.enabled(), c.enabled) << c.time << " " << c.connected;
        EXPECT_EQ(settings.OffTimerArmed, c.armed) << c.time << " " << c.forceOn;
    }
}

TEST_F(MainTimersTest, TheCloseStopsTheTickTheMeasuringAndTheLogTimer) {
    for (CoreTimer* timer : {&timers.Timer, &timers.Timer1, &timers.Timer3, &timers.TimerConnect}) {
        timer->setEnabled(true);
    }
    timers.stopAtClose();
    EXPECT_FALSE(timers.Timer.enabled() || timers.Timer1.enabled() || timers.Timer3.enabled());
    EXPECT_TRUE(timers.TimerConnect.enabled());
}

}  // namespace
}  // namespace brevanto
