// The day's files across midnight, a restart and a kill: nothing sampled or
// counted is lost, and every file lands under the day it belongs to.
#include <gtest/gtest.h>

#include "hubfixture.h"
#include "support/tempdir.h"

namespace brevanto {
namespace {

using testing::HubFixture;
using testing::readFile;
using testing::writeFile;

constexpr const char* kAllLogs = "[LogIn]\nLogBasic=1\nLogComputed=1\nLogEvent=1\nLogEnergy=1\n";

class DayChangeTest : public HubFixture {
protected:
    void startAt(const LocalDateTime& when, const std::string& ini = kAllLogs) {
        clock.set(when);
        start(ini);
        hub->FormCreate();
    }
    void count(double solar, double app, double act, double totalSolar, double totalLine) {
        ComputedValues& values = hub->acquisition().computed();
        values.SolarEnergy = solar;
        values.LineEnergyApp = app;
        values.LineEnergyAct = act;
        values.TotalSolar = totalSolar;
        values.TotalLine = totalLine;
        hub->display().UpdateDisplay();
    }
    std::string file(const std::string& relative) const { return readFile(dir / relative); }
    std::size_t basicRows() const { return hub->dailyData().basic().table().rows().rowCount(); }
};

TEST_F(DayChangeTest, MidnightWritesEveryFileOfTheEndedDayAndStartsTheNewOne) {
    startAt({{2015, 3, 31}, {23, 59, 58}}, std::string(kAllLogs) + "[Trigger]\nOut 1=1\nOut 3=1\n");
    hub->scheduler().Timer1Timer();
    count(1.5, 0.25, 0.2, 1234.567, 89);
    hub->scheduler().Timer3Timer();
    hub->eventLog().WriteEvent("before midnight");
    clock.set({{2015, 4, 1}, {0, 0, 0, 400}});
    hub->TimerTimer();

    EXPECT_EQ(file("Log/LogEnergy/2015/3/EnergyLog_3-2015.csv"),
              "31.03.2015,1.500,0.250,0.200,1234.567,89.000\r\n");
    const std::string basic = file("Log/LogVariables/2015/3/31/BasicLog_31-3-2015.csv");
    EXPECT_EQ(std::count(basic.begin(), basic.end(), '\n'), 2);
    EXPECT_TRUE(basic.starts_with("23:59:58,"));
    const std::string computed = file("Log/LogComputed/2015/3/31/ComputedLog_31-3-2015.csv");
    EXPECT_NE(computed.find("23:59:58,1.500,"), std::string::npos);
    // A first totals file counts from the day change that writes it.
    EXPECT_EQ(file("Log/EnergyTotalSolar.csv"), "01.04.2015,01.04.2015,1234.567,89.000\r\n");
    const std::string journal = file("Log/LogEvent/2015/3/31/EventLog31-3-2015.txt");
    EXPECT_NE(journal.find("before midnight"), std::string::npos);
    // The mails of the ended day, the basic log as it was written.
    ASSERT_TRUE(serveUntil([&] { return mails().size() == 2; }));
    const std::vector<MailJob> sent = mails();
    EXPECT_EQ(sent[0].message.body, "Basic variables of day 31.03.2015 in attach.");
    ASSERT_TRUE(sent[0].message.attachment.has_value());
    EXPECT_EQ(sent[0].message.attachment->fileName, "BasicLog_31-3-2015.csv");
    EXPECT_EQ(sent[0].message.attachment->bytes, basic);
    EXPECT_EQ(sent[1].message.body,
              "Daily Energy production (31.03.2015): 1.500 kWh. \r\n"
              "Total production from 01.04.2015 is: 1234.567kWh");
    EXPECT_FALSE(sent[1].message.attachment.has_value());

    DailyData& daily = hub->dailyData();
    EXPECT_EQ(daily.energy().currentPath(), "Log/LogEnergy/2015/4/EnergyLog_4-2015.csv");
    EXPECT_EQ(daily.energy().table().caption(), "Month = 4 (updated at midnight)");
    EXPECT_EQ(daily.energy().table().rows().rowCount(), 0U);
    EXPECT_EQ(daily.basic().currentPath(), "Log/LogVariables/2015/4/1/BasicLog_1-4-2015.csv");
    EXPECT_EQ(daily.computed().currentPath(), "Log/LogComputed/2015/4/1/ComputedLog_1-4-2015.csv");
    EXPECT_EQ(basicRows(), 0U);
    EXPECT_EQ(daily.computed().table().rows().rowCount(), 0U);
    EXPECT_EQ(hub->eventLog().currentPath(), "Log/LogEvent/2015/4/1/EventLog1-4-2015.txt");
    // The ended day's lines are gone; only the mails' own lines may follow.
    EXPECT_FALSE(hasEvent("before midnight"));
    for (const std::string& line : events()) {
        EXPECT_NE(line.find("mailed: "), std::string::npos) << line;
    }
    EXPECT_EQ(hub->acquisition().computed(), (ComputedValues{0, 0, 0, 0, 1234.567, 89}));
    EXPECT_EQ(hub->scheduler().LogDate(), (LocalDate{2015, 4, 1}));
}

TEST_F(DayChangeTest, WithTheLogsOffOnlyTheTotalsAreWrittenAndTheDayCountersRunOn) {
    startAt({{2015, 3, 31}, {23, 59, 58}},
            "[LogIn]\nLogBasic=1\nLogComputed=0\nLogEnergy=0\nLogEvent=0\n");
    hub->scheduler().Timer1Timer();
    count(1.5, 0.25, 0.2, 10, 1);
    clock.set({{2015, 4, 1}, {0, 0, 1}});
    hub->TimerTimer();
    EXPECT_FALSE(std::filesystem::exists(dir / "Log/LogEnergy/2015/3/EnergyLog_3-2015.csv"));
    EXPECT_FALSE(
        std::filesystem::exists(dir / "Log/LogComputed/2015/3/31/ComputedLog_31-3-2015.csv"));
    EXPECT_TRUE(std::filesystem::exists(dir / "Log/EnergyTotalSolar.csv"));
    EXPECT_EQ(hub->acquisition().computed().SolarEnergy, 1.5);
    // The computed table is emptied all the same, or it would grow for months.
    EXPECT_EQ(hub->dailyData().computed().table().rows().rowCount(), 0U);
}

TEST_F(DayChangeTest, TheWholeDateCountsNotOnlyTheDayOfTheMonth) {
    startAt({{2015, 3, 5}, {12, 0, 0}});
    hub->scheduler().Timer1Timer();
    count(2, 0, 0, 5, 0);
    // The link was down for a month; the first tick after it sees the change.
    clock.set({{2015, 4, 5}, {12, 0, 0}});
    hub->TimerTimer();
    EXPECT_EQ(file("Log/LogEnergy/2015/3/EnergyLog_3-2015.csv"),
              "05.03.2015,2.000,0.000,0.000,5.000,0.000\r\n");
    EXPECT_EQ(hub->dailyData().basic().currentPath(),
              "Log/LogVariables/2015/4/5/BasicLog_5-4-2015.csv");
    EXPECT_EQ(hub->dailyData().energy().currentPath(), "Log/LogEnergy/2015/4/EnergyLog_4-2015.csv");
}

TEST_F(DayChangeTest, ARowTakenJustAfterMidnightGoesToTheNewDay) {
    startAt({{2015, 3, 31}, {23, 59, 59}});
    hub->scheduler().Timer1Timer();
    clock.set({{2015, 4, 1}, {0, 0, 0, 200}});
    hub->scheduler().Timer3Timer();
    EXPECT_EQ(hub->scheduler().LogDate(), (LocalDate{2015, 4, 1}));
    EXPECT_EQ(basicRows(), 1U);
    EXPECT_TRUE(file("Log/LogVariables/2015/4/1/BasicLog_1-4-2015.csv").starts_with("00:00:00,"));
}

TEST_F(DayChangeTest, ARestartTheSameDayContinuesItsRowsCountersTotalsAndJournal) {
    startAt({{2015, 3, 7}, {18, 0, 0}});
    hub->scheduler().Timer1Timer();
    hub->scheduler().Timer3Timer();
    count(1.5, 0.25, 0.2, 1234.567, 89);
    hub->eventLog().WriteEvent("evening");
    hub->setReallyClose(true);
    ASSERT_EQ(hub->FormClose(), CloseOutcome::Closed);
    hub.reset();

    startAt({{2015, 3, 7}, {18, 5, 0}});
    EXPECT_EQ(basicRows(), 2U);
    EXPECT_EQ(hub->dailyData().basic().table().countLabel(), "Lines = 3");
    EXPECT_EQ(hub->acquisition().computed(), (ComputedValues{1.5, 0, 0.25, 0.2, 1234.567, 89}));
    EXPECT_EQ(hub->display().texts().computed[0], "1.500");
    EXPECT_EQ(hub->display().texts().computed[4], "1234.567");
    EXPECT_EQ(labels.computedGroup, "Computed values ( [A] and [B] from 07.03.2015 )");
    EXPECT_TRUE(hasEvent("evening"));
    hub.reset();

    // The next morning: yesterday's line restores no day counters.
    startAt({{2015, 3, 8}, {7, 0, 0}});
    EXPECT_EQ(hub->acquisition().computed(), (ComputedValues{0, 0, 0, 0, 1234.567, 89}));
    EXPECT_EQ(basicRows(), 0U);
}

TEST_F(DayChangeTest, AfterAKillTheDayGoesOnFromItsCheckpointsAndItsRows) {
    startAt({{2015, 3, 7}, {10, 0, 0}});
    hub->scheduler().Timer1Timer();
    count(1.5, 0.25, 0.2, 1234.567, 89);
    hub->eventLog().WriteEvent("morning");
    hub->scheduler().TimerCheckpointTimer();
    hub->scheduler().Timer3Timer();
    // Killed: nothing written at the end, only what reached the disk.
    hub->dailyData().writer().drain();
    hub.reset();

    startAt({{2015, 3, 7}, {10, 1, 30}});
    EXPECT_EQ(basicRows(), 2U);
    EXPECT_EQ(hub->acquisition().computed(), (ComputedValues{1.5, 0, 0.25, 0.2, 1234.567, 89}));
    EXPECT_TRUE(hasEvent("morning"));
    count(2.5, 0.25, 0.2, 1235.567, 89);
    hub->scheduler().TimerCheckpointTimer();
    hub->setReallyClose(true);
    ASSERT_EQ(hub->FormClose(), CloseOutcome::Closed);
    // One line for the killed run and one for this run's end.
    EXPECT_EQ(file("Log/LogEnergy/2015/3/EnergyLog_3-2015.csv"),
              "07.03.2015,1.500,0.250,0.200,1234.567,89.000\r\n"
              "07.03.2015,2.500,0.250,0.200,1235.567,89.000\r\n");
}

// A box's event loop goes on firing the timers; a tick that arrives while
// the day change waits for an OK must not start a second day change.
TEST_F(DayChangeTest, ATickArrivingWhileTheDayChangeShowsABoxDoesNothing) {
    startAt({{2015, 3, 31}, {23, 59, 58}});
    std::filesystem::create_directories(dir / "Log/EnergyTotalSolar.csv");
    int nested = 0;
    prompts.setWhileWarningShown([&] {
        ++nested;
        hub->TimerTimer();
        hub->scheduler().Timer3Timer();
        hub->scheduler().TimerCheckpointTimer();
    });
    clock.set({{2015, 4, 1}, {0, 0, 1}});
    hub->TimerTimer();
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(prompts.warnings(), std::vector<std::string>{"Error writing Total Energy Log."});
    EXPECT_EQ(basicRows(), 0U);
    EXPECT_EQ(hub->scheduler().LogDate(), (LocalDate{2015, 4, 1}));
}

TEST_F(DayChangeTest, ACheckpointWritesOnlyWhatChanged) {
    startAt({{2015, 3, 7}, {10, 0, 0}});
    hub->scheduler().TimerCheckpointTimer();
    hub->dailyData().writer().drain();
    const std::filesystem::path totals = dir / "Log/EnergyTotalSolar.csv";
    writeFile(totals, "kept");
    hub->scheduler().TimerCheckpointTimer();
    hub->dailyData().writer().drain();
    EXPECT_EQ(readFile(totals), "kept");
    count(0, 0, 0, 1, 0);
    hub->scheduler().TimerCheckpointTimer();
    hub->dailyData().writer().drain();
    EXPECT_EQ(readFile(totals), "07.03.2015,07.03.2015,1.000,0.000\r\n");
}

}  // namespace
}  // namespace brevanto
