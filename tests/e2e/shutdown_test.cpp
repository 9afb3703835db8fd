// The end of a session or a kill: the program closes as "Close" answered
// Yes, without asking, and today's files are on the disk afterwards.
#include <csignal>
#include <string>

#include <gtest/gtest.h>

#include "support/programprocess.h"
#include "support/simprocess.h"
#include "support/tempdir.h"
#include "todaysfiles.h"

namespace brevanto {
namespace {

using testing::ProgramProcess;
using testing::readFile;
using testing::SimProcess;
using testing::TempDir;

class ShutdownTest : public ::testing::TestWithParam<int> {};

TEST_P(ShutdownTest, ASignalClosesTheProgramAndWritesTodaysEvents) {
    TempDir folder;
    SimProcess sim;
    // Port 0 names no port: the program serves no page and takes no port
    // from the tests running beside it.
    testing::writeFile(folder / "brevanto.INI",
                       "[Main]\nAutoConnect=1\nAutoSearch=0\nCOM PORT=COM1\nCOM PORT index=1\n"
                       "[Http]\nPort=0\n[Ports]\nCOM1=" +
                           sim.linkPath().string() + "\n");
    // Today's events so far, as an editor on another system left them.
    const auto eventFile = folder.path() / testing::todaysLogFile("LogEvent", "EventLog", ".txt");
    std::filesystem::create_directories(eventFile.parent_path());
    testing::writeFile(eventFile, "[earlier] written this morning \n");

    ProgramProcess program(BREVANTO_PROGRAM_PATH, folder.path());
    ASSERT_TRUE(program.waitUntilHandling(GetParam()));
    program.sendSignal(GetParam());
    EXPECT_EQ(program.waitForExit(), 0);
    // Read back and written again whole: the program wrote this file.
    const std::string saved = readFile(eventFile);
    EXPECT_TRUE(saved.starts_with("[earlier] written this morning \r\n")) << saved;
}

// "Cannot create Directory for log file." waits for an OK nobody may be
// there to give; a signal read by the box's own event loop still closes the
// program, with everything written.
TEST(StartupBoxShutdownTest, ASignalDuringAStartUpMessageBoxClosesTheProgram) {
    TempDir folder;
    testing::writeFile(folder / "brevanto.INI", "[Http]\nPort=0\n");
    testing::writeFile(folder / "Log", "a file where the log folder belongs");
    ProgramProcess program(BREVANTO_PROGRAM_PATH, folder.path());
    ASSERT_TRUE(program.waitUntilHandling(SIGTERM));
    program.sendSignal(SIGTERM);
    EXPECT_EQ(program.waitForExit(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    EachSignal, ShutdownTest, ::testing::Values(SIGTERM, SIGINT, SIGHUP), [](const auto& info) {
        return std::string(info.param == SIGTERM ? "Term" : info.param == SIGINT ? "Int" : "Hup");
    });

}  // namespace
}  // namespace brevanto
