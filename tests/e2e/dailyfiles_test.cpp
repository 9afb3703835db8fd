// The day's files of the built program against the simulator: across
// midnight under a shifted clock, and after a kill.
#include <csignal>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "support/programprocess.h"
#include "support/simprocess.h"
#include "support/simsettings.h"
#include "support/tempdir.h"
#include "support/waituntil.h"
#include "todaysfiles.h"

namespace brevanto {
namespace {

using testing::ProgramProcess;
using testing::readFile;
using testing::SimProcess;
using testing::TempDir;
using testing::waitUntil;

constexpr const char* kLibFaketime = "/usr/lib/x86_64-linux-gnu/faketime/libfaketimeMT.so.1";

std::string settingsFor(const SimProcess& sim) {
    return std::string(testing::kAutoConnectToCom1) +
           "[LogIn]\nLogBasic=1\nLogComputed=1\nLogEvent=1\nLogEnergy=1\n"
           "[Http]\nPort=0\n[Ports]\nCOM1=" +
           sim.linkPath().string() + "\n";
}

std::size_t lineCount(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

// Only the wall clock is shifted: the timers run on the monotonic clock.
TEST(DailyFilesProgramTest, AcrossMidnightTheEndedDaysFilesAreOnTheDisk) {
    TempDir folder;
    SimProcess sim;
    testing::writeFile(folder / "brevanto.INI", settingsFor(sim));
    const std::filesystem::path march = folder.path() / "Log/LogEnergy/2015/3/EnergyLog_3-2015.csv";
    ProgramProcess program(BREVANTO_PROGRAM_PATH, folder.path(),
                           {{"LD_PRELOAD", kLibFaketime},
                            {"FAKETIME", "@2015-03-31 23:59:50"},
                            {"FAKETIME_DONT_FAKE_MONOTONIC", "1"},
                            {"TZ", "UTC"},
                            {"LC_ALL", "C"}});
    ASSERT_TRUE(program.waitUntilHandling(SIGTERM));
    ASSERT_TRUE(waitUntil([&] { return std::filesystem::exists(march); }, testing::pauseBriefly,
                          std::chrono::seconds(40)));
    program.sendSignal(SIGTERM);
    ASSERT_EQ(program.waitForExit(), 0);

    const std::string energy = readFile(march);
    EXPECT_TRUE(energy.starts_with("03/31/2015,")) << energy;
    const std::string basic =
        readFile(folder / "Log/LogVariables/2015/3/31/BasicLog_31-3-2015.csv");
    EXPECT_GE(lineCount(basic), 1U) << basic;
    EXPECT_NE(readFile(folder / "Log/LogEvent/2015/3/31/EventLog31-3-2015.txt").find("Connected"),
              std::string::npos);
    EXPECT_TRUE(
        std::filesystem::exists(folder / "Log/LogVariables/2015/4/1/BasicLog_1-4-2015.csv"));
    EXPECT_TRUE(std::filesystem::exists(folder / "Log/LogEnergy/2015/4/EnergyLog_4-2015.csv"));
    EXPECT_NE(readFile(folder / "Log/EnergyTotalSolar.csv").find(",04/01/2015,"),
              std::string::npos);
}

// A minute is what a checkpoint may take to reach the disk.
TEST(DailyFilesProgramTest, AfterSigkillTheNextStartContinuesTheDay) {
    TempDir folder;
    SimProcess sim;
    testing::writeFile(folder / "brevanto.INI", settingsFor(sim));
    const auto basic = folder.path() / testing::todaysLogFile("LogVariables", "BasicLog_", ".csv");
    const auto journal = folder.path() / testing::todaysLogFile("LogEvent", "EventLog", ".txt");
    const auto totals = folder.path() / "Log/EnergyTotalSolar.csv";
    {
        ProgramProcess program(BREVANTO_PROGRAM_PATH, folder.path());
        ASSERT_TRUE(
            waitUntil([&] { return std::filesystem::exists(basic); }, testing::pauseBriefly));
        ASSERT_TRUE(waitUntil(
            [&] { return std::filesystem::exists(totals) && std::filesystem::exists(journal); },
            testing::pauseBriefly, std::chrono::seconds(90)));
        program.sendSignal(SIGKILL);
        ASSERT_EQ(program.waitForExit(), 128 + SIGKILL);
    }
    const std::string rowsBefore = readFile(basic);
    ASSERT_GE(lineCount(rowsBefore), 1U);
    ASSERT_NE(readFile(journal).find("Connected"), std::string::npos);

    ProgramProcess again(BREVANTO_PROGRAM_PATH, folder.path());
    ASSERT_TRUE(again.waitUntilHandling(SIGTERM));
    ASSERT_TRUE(waitUntil([&] { return lineCount(readFile(basic)) > lineCount(rowsBefore); },
                          testing::pauseBriefly));
    again.sendSignal(SIGTERM);
    ASSERT_EQ(again.waitForExit(), 0);
    // The killed run's rows and journal are still there, the new run's follow.
    EXPECT_TRUE(readFile(basic).starts_with(rowsBefore));
    const std::string lines = readFile(journal);
    EXPECT_NE(lines.find("Connected"), lines.rfind("Connected"));
}

}  // namespace
}  // namespace brevanto
