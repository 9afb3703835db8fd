// The charts' data from the files the program writes: a day's basic log
// (torn lines and all), the month's energy log, and where earlier days are.
#include <algorithm>
#include <cmath>

#include <gtest/gtest.h>

#include "charts/dayseries.h"
#include "charts/logcalendar.h"
#include "charts/monthenergy.h"
#include "platform/queuedinvoker.h"
#include "platform/services.h"
#include "platform/testing/manualclock.h"
#include "platform/testing/recordingeventsink.h"
#include "platform/testing/recordingprompts.h"
#include "store/daylog.h"
#include "support/tempdir.h"

namespace brevanto {
namespace {

using testing::TempDir;
using testing::writeFile;

// time, then the fifteen readings: PV input 120 V at 2.5 A, battery 52.1 V
// at 64 %, output 430 W.
constexpr const char* kRow =
    "12:30:05,230.0,50.0,120.0,2.5,52.1,64,1,0,50.0,230.0,500,430,9,40,380";

TEST(DaySeries, ReadsTheCurvesOfADayFileAndSkipsWhatIsTorn) {
    TempDir dir;
    const std::string text = std::string(kRow) + "\r\n" +
                             "not a time,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15\n" +
                             "13:00:00,230.0,50.0,x,2.5,52.1,64,1,0,50.0,230.0,500,430,9,40,380\n" +
                             "13:00:01,230.0,50.0,120.0,2.5,5";
    writeFile(dir / "day.csv", text);
    const DaySeriesRead read = readDaySeries(dir / "day.csv");
    EXPECT_TRUE(read.problem.empty());
    ASSERT_EQ(read.series.size(), 2u);
    EXPECT_EQ(read.series.seconds[0], 12 * 3600 + 30 * 60 + 5);
    EXPECT_FLOAT_EQ(read.series.curve(DayCurve::PvPower)[0], 300);
    EXPECT_FLOAT_EQ(read.series.curve(DayCurve::BatteryVoltage)[0], 52.1F);
    EXPECT_FLOAT_EQ(read.series.curve(DayCurve::OutputActivePower)[0], 430);
    EXPECT_FLOAT_EQ(read.series.curve(DayCurve::BatteryCapacity)[0], 64);
    EXPECT_TRUE(std::isnan(read.series.curve(DayCurve::PvPower)[1])) << "no number, no point";
    EXPECT_FLOAT_EQ(read.series.curve(DayCurve::BatteryCapacity)[1], 64);
}

TEST(DaySeries, SaysWhyAFileGivesNoCurves) {
    TempDir dir;
    EXPECT_EQ(readDaySeries(dir / "missing.csv").problem, "No readings were logged on this day.");
    std::filesystem::create_directory(dir / "folder.csv");
    EXPECT_EQ(readDaySeries(dir / "folder.csv").problem, "The day's log file cannot be read.");
}

TEST(DaySeries, ReadsTwelveHourTimes) {
    DaySeries series;
    std::string row = kRow;
    EXPECT_TRUE(series.addLine("01:15:00 PM" + row.substr(8)));
    EXPECT_TRUE(series.addLine("12:00:00 AM" + row.substr(8)));
    EXPECT_FALSE(series.addLine("25:00:00" + row.substr(8)));
    ASSERT_EQ(series.size(), 2u);
    EXPECT_EQ(series.seconds[0], 13 * 3600 + 15 * 60);
    EXPECT_EQ(series.seconds[1], 0);
}

TEST(MonthEnergy, TakesEachDaysLastLineOfTheMonth) {
    TempDir dir;
    writeFile(dir / "month.csv",
              "01.03.2015,1.500,0.200,0.180,100.000,20.000\n"
              "01.03.2015,4.250,0.900,0.800,102.750,20.600\n"
              "28.02.2015,9.000,9.000,9.000,90.000,9.000\n"
              "03.03.2015,2.000,0.100,0.090,104.750,20.690\n"
              "04.03.2015,3.0");
    const DateTimeFormat format{"%d.%m.%Y", "%H:%M:%S"};
    const MonthEnergyRead read = readMonthEnergy(dir / "month.csv", format, 2015, 3);
    EXPECT_TRUE(read.problem.empty());
    ASSERT_EQ(read.days.size(), 2u);
    EXPECT_EQ(read.days[0].day, 1);
    EXPECT_DOUBLE_EQ(read.days[0].solar, 4.25);
    EXPECT_DOUBLE_EQ(read.days[0].line, 0.8);
    EXPECT_EQ(read.days[1].day, 3);
    EXPECT_EQ(readMonthEnergy(dir / "none.csv", format, 2015, 3).problem,
              "No energy was logged in this month.");
}

// The paths are the ones the logs themselves write to.
TEST(LogCalendar, FindsTheDaysTheBasicLogWasWrittenOn) {
    TempDir dir;
    testing::ManualClock clock;
    testing::RecordingPrompts prompts;
    testing::RecordingEventSink events;
    QueuedInvoker invoker;
    const DateTimeFormat format{"%d.%m.%Y", "%H:%M:%S"};
    const Services services{clock, format, prompts, invoker, events, dir.path()};
    std::filesystem::create_directory(dir / "Log");
    DayLog basic(basicLogKind(), services);
    std::vector<LocalDate> days;
    for (int day = 12; day >= 1; --day) {
        days.push_back({2015, 4, day});
    }
    days.push_back({2014, 12, 9});
    days.push_back({2015, 3, 31});
    for (const LocalDate& day : days) {
        basic.Name(day);
        EXPECT_EQ(basic.currentPath(), basicLogFile(day));
        EXPECT_TRUE(basic.Write());
    }
    basic.Name(LocalDate{2015, 4, 13});  // its folders made, no file yet
    std::filesystem::create_directories(dir / "Log" / "LogVariables" / "2015" / "notes");
    std::sort(days.begin(), days.end());
    EXPECT_EQ(daysWithBasicLog(dir.path()), days) << "oldest first";
    EXPECT_EQ(energyLogFile(2015, 3),
              std::filesystem::path("Log/LogEnergy/2015/3/EnergyLog_3-2015.csv"));
}

}  // namespace
}  // namespace brevanto
