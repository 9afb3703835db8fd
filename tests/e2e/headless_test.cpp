// `brevanto --headless` on a board without a screen: it needs no display,
// serves its page, ends on SIGTERM with its files written, says its boxes
// on standard error; installed where it cannot write, it keeps its files in
// the user's data folder. And the command line's own answers.
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/childprocess.h"
#include "support/freeport.h"
#include "support/simprocess.h"
#include "support/simsettings.h"
#include "support/tempdir.h"
#include "support/waituntil.h"
#include "todaysfiles.h"

namespace brevanto {
namespace {

namespace fs = std::filesystem;
using testing::ChildProcess;
using testing::readFile;
using testing::TempDir;

constexpr const char* kProgram = BREVANTO_PROGRAM_PATH;
constexpr uid_t kNobody = 65534;

// A display that is not there: a window program could not start with it.
const std::vector<std::pair<std::string, std::string>> kNoScreen = {
    {"DISPLAY", ":97"}, {"QT_QPA_PLATFORM", "xcb"}, {"WAYLAND_DISPLAY", ""}};

bool pageAnswers(int port) {
    return testing::runToExit({"curl", "-sf", "-o", "/dev/null", "--max-time", "2",
                               "http://127.0.0.1:" + std::to_string(port) + "/"})
               .exitStatus == 0;
}

fs::path copyProgram(const fs::path& folder) {
    fs::create_directories(folder);
    fs::copy_file(kProgram, folder / "brevanto", fs::copy_options::overwrite_existing);
    return folder / "brevanto";
}

TEST(HeadlessTest, WithoutAScreenItServesItsPageAndASignalEndsItWithItsFilesWritten) {
    TempDir folder;
    testing::SimProcess sim;
    const int port = testing::unusedPort();
    testing::writeFile(folder / "brevanto.INI",
                       "[Main]\nAutoConnect=1\nAutoSearch=0\nCOM PORT=COM1\nCOM PORT index=1\n"
                       "[Http]\nPort=" +
                           std::to_string(port) + "\n[Ports]\nCOM1=" + sim.linkPath().string() +
                           "\n");
    ChildProcess program({copyProgram(folder.path()).string(), "--headless"},
                         {.workingDirectory = folder.path(),
                          .environment = kNoScreen,
                          .outputFile = folder / "output.txt"});
    // The day's first row is there once it reads.
    ASSERT_TRUE(testing::waitUntil(
        [&] {
            return pageAnswers(port) &&
                   fs::exists(folder.path() /
                              testing::todaysLogFile("LogVariables", "BasicLog_", ".csv"));
        },
        testing::pauseBriefly))
        << readFile(folder / "output.txt");
    program.sendSignal(SIGTERM);
    EXPECT_EQ(program.waitForExit(), 0);
    const std::string events =
        readFile(folder.path() / testing::todaysLogFile("LogEvent", "EventLog", ".txt"));
    EXPECT_NE(events.find("port and Inverter."), std::string::npos) << events;
    EXPECT_TRUE(
        fs::exists(folder.path() / testing::todaysLogFile("LogVariables", "BasicLog_", ".csv")));
}

TEST(HeadlessTest, AMessageBoxIsALineOnStandardErrorAndWaitsForNobody) {
    TempDir folder;
    testing::writeFile(folder / "brevanto.INI", "[Http]\nPort=0\n");
    testing::writeFile(folder / "Log", "a file where the log folder belongs");
    ChildProcess program({copyProgram(folder.path()).string(), "--headless"},
                         {.workingDirectory = folder.path(),
                          .environment = kNoScreen,
                          .outputFile = folder / "errors.txt"});
    ASSERT_TRUE(testing::waitUntil(
        [&] {
            return readFile(folder / "errors.txt")
                       .find(
                           "brevanto: Cannot create Directory for log file. Current directory "
                           "will be used.\n") != std::string::npos;
        },
        testing::pauseBriefly))
        << readFile(folder / "errors.txt");
    // It went on to the event loop, which takes the signal.
    program.sendSignal(SIGTERM);
    EXPECT_EQ(program.waitForExit(), 0);
}

// Where it cannot write its own folder and holds no INI there, as under
// /usr/bin. Root may write anywhere, so there it runs as nobody.
TEST(HeadlessTest, InstalledWhereItCannotWriteItKeepsItsFilesInTheUsersDataFolder) {
    TempDir folder;
    const fs::path home = folder / "home";
    const fs::path data = home / ".local/share/Brevanto";
    fs::create_directories(data);
    testing::writeFile(data / "brevanto.INI", "[Http]\nPort=0\n");
    const fs::path program = copyProgram(folder / "bin");
    fs::permissions(folder / "bin", fs::perms::owner_read | fs::perms::owner_exec |
                                        fs::perms::group_read | fs::perms::group_exec |
                                        fs::perms::others_read | fs::perms::others_exec);
    std::vector<std::string> argv = {program.string(), "--headless"};
    if (::geteuid() == 0) {
        fs::permissions(folder.path(), fs::perms::others_read | fs::perms::others_exec,
                        fs::perm_options::add);
        for (const fs::path& mine :
             {home, home / ".local", home / ".local/share", data, data / "brevanto.INI"}) {
            ASSERT_EQ(::chown(mine.c_str(), kNobody, kNobody), 0) << mine;
        }
        argv.insert(argv.begin(),
                    {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "--"});
    }
    ChildProcess run(argv, {.workingDirectory = home,
                            .environment = {{"HOME", home.string()},
                                            {"XDG_DATA_HOME", ""},
                                            kNoScreen[0],
                                            kNoScreen[1]},
                            .outputFile = folder / "output.txt"});
    ASSERT_TRUE(testing::waitUntil([&] { return fs::is_directory(data / "Log/LogEvent"); },
                                   testing::pauseBriefly))
        << readFile(folder / "output.txt");
    run.sendSignal(SIGTERM);
    EXPECT_EQ(run.waitForExit(), 0) << readFile(folder / "output.txt");
    EXPECT_TRUE(fs::exists(data / testing::todaysLogFile("LogEvent", "EventLog", ".txt")));
    EXPECT_FALSE(fs::exists(folder / "bin/Log"));
    EXPECT_FALSE(fs::exists(home / "Log"));
}

// Two bad replies in a row take in a main-values reply, whichever came
// first after the line went bad.
bool badRepliesCounted(int port) {
    const testing::ProcessRun scrape =
        testing::runToExit({"curl", "-sf", "--max-time", "2",
                            "http://127.0.0.1:" + std::to_string(port) + "/metrics"});
    const std::string name = "brevanto_exchange_failures_total{cause=\"bad_reply\"} ";
    const auto at = scrape.output.find(name);
    return scrape.exitStatus == 0 && at != std::string::npos &&
           std::stoi(scrape.output.substr(at + name.size())) >= 2;
}

// A board without a screen cannot tick "Display all errors on log ": the
// command line does it, and without it a bad line stays out of the journal.
TEST(HeadlessTest, AllErrorsJournalsEveryBadReplyFromTheStart) {
    for (const bool allErrors : {true, false}) {
        SCOPED_TRACE(allErrors ? "--all-errors" : "without --all-errors");
        TempDir folder;
        testing::SimProcess sim;
        const int port = testing::unusedPort();
        testing::writeFile(folder / "brevanto.INI",
                           std::string(testing::kAutoConnectToCom1) +
                               "[Http]\nPort=" + std::to_string(port) +
                               "\n[Ports]\nCOM1=" + sim.linkPath().string() + "\n");
        std::vector<std::string> command{copyProgram(folder.path()).string(), "--headless"};
        if (allErrors) {
            command.push_back("--all-errors");
        }
        ChildProcess program(command, {.workingDirectory = folder.path(),
                                       .environment = kNoScreen,
                                       .outputFile = folder / "output.txt"});
        ASSERT_TRUE(testing::waitUntil(
            [&] {
                return fs::exists(folder.path() /
                                  testing::todaysLogFile("LogVariables", "BasicLog_", ".csv"));
            },
            testing::pauseBriefly))
            << readFile(folder / "output.txt");
        ASSERT_EQ(sim.command("badcrc on"), "ok");
        ASSERT_TRUE(
            testing::waitUntil([&] { return badRepliesCounted(port); }, testing::pauseBriefly));
        program.sendSignal(SIGTERM);
        EXPECT_EQ(program.waitForExit(), 0);
        const std::string events =
            readFile(folder.path() / testing::todaysLogFile("LogEvent", "EventLog", ".txt"));
        EXPECT_EQ(events.find("Error receiving main values (110/110)") != std::string::npos,
                  allErrors)
            << events;
    }
}

TEST(CommandLineProgramTest, HelpAndVersionAnswerAndAnUnknownArgumentIsRefused) {
    const testing::ProcessRun help = testing::runToExit({kProgram, "--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_TRUE(help.output.starts_with("Usage: brevanto [--headless] [--all-errors]\n"))
        << help.output;
    const testing::ProcessRun version = testing::runToExit({kProgram, "--version"});
    EXPECT_EQ(version.exitStatus, 0);
    EXPECT_EQ(version.output, "Brevanto 1.1.7.1\n");
    const testing::ProcessRun wrong = testing::runToExit({kProgram, "--verbose"});
    EXPECT_EQ(wrong.exitStatus, 2);
    EXPECT_TRUE(wrong.errors.starts_with("brevanto: unknown argument '--verbose'\nUsage:"))
        << wrong.errors;
}

}  // namespace
}  // namespace brevanto
