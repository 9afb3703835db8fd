// Starting and ending the simulator: its link, its exit codes, its help.
#include <signal.h>

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/simprocess.h"
#include "support/tempdir.h"
#include "tools/serialclient.h"

namespace brevanto::testing {
namespace {

namespace fs = std::filesystem;

TEST(InverterSimLifecycle, EveryWayOfEndingExitsCleanlyAndRemovesTheLink) {
    struct Case {
        const char* how;
        void (*end)(SimProcess&);
    };
    const Case cases[] = {
        {"quit", [](SimProcess& sim) { EXPECT_EQ(sim.command("quit"), "ok"); }},
        {"end of input", [](SimProcess& sim) { sim.closeInput(); }},
        {"SIGTERM", [](SimProcess& sim) { sim.sendSignal(SIGTERM); }},
        {"SIGINT", [](SimProcess& sim) { sim.sendSignal(SIGINT); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        SimProcess sim;
        ASSERT_TRUE(fs::is_character_file(sim.linkPath()));
        c.end(sim);
        EXPECT_EQ(sim.waitForExit(), 0);
        EXPECT_FALSE(fs::exists(fs::symlink_status(sim.linkPath())));
    }
}

TEST(InverterSimLifecycle, ReplacesALeftOverLink) {
    TempDir dir;
    fs::create_symlink("/dev/pts/no-such-terminal", dir / "ttyINV");
    SimProcess sim({.linkPath = dir / "ttyINV"});
    EXPECT_TRUE(fs::is_character_file(sim.linkPath()));
    SerialClient port(sim.linkPath());
}

TEST(InverterSimLifecycle, RefusesToReplaceAFile) {
    TempDir dir;
    writeFile(dir / "ttyINV", "somebody's notes");
    const SimRun run = runSimToExit({"--link", (dir / "ttyINV").string()});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_NE(run.errors.find("not a symbolic link"), std::string::npos) << run.errors;
    EXPECT_EQ(run.output, "");
    EXPECT_EQ(readFile(dir / "ttyINV"), "somebody's notes");
}

TEST(InverterSimLifecycle, FailsWhenTheLinkCannotBeMade) {
    TempDir dir;
    const SimRun run = runSimToExit({"--link", (dir / "missing" / "ttyINV").string()});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_NE(run.errors.find("cannot create the link"), std::string::npos) << run.errors;
}

TEST(InverterSimLifecycle, BadArgumentsExitWithUsage) {
    const std::vector<std::string> cases[] = {
        {},
        {"--link"},
        {"--bogus"},
        {"--link", "/tmp/x", "--seed", "soon"},
        {"--link", "/tmp/x", "stray"},
    };
    for (const auto& arguments : cases) {
        const SimRun run = runSimToExit(arguments);
        EXPECT_EQ(run.exitStatus, 2) << run.errors;
        EXPECT_NE(run.errors.find("usage: brevanto-sim --link PATH"), std::string::npos)
            << run.errors;
    }
}

TEST(InverterSimLifecycle, AScriptThatCannotBeUsedIsRefusedBeforeAnythingStarts) {
    const TempDir dir;
    writeFile(dir.path() / "day.txt", "12:00:00 mode B\n13:00:00 grid sideways\n");
    const std::string link = (dir.path() / "ttyINV").string();
    const std::pair<std::string, std::string> cases[] = {
        {(dir.path() / "day.txt").string(), "'grid sideways': grid takes on or off"},
        {(dir.path() / "missing.txt").string(), "cannot read the script"},
    };
    for (const auto& [script, problem] : cases) {
        const SimRun run = runSimToExit({"--link", link, "--script", script});
        EXPECT_EQ(run.exitStatus, 2) << run.errors;
        EXPECT_NE(run.errors.find(problem), std::string::npos) << run.errors;
        EXPECT_FALSE(std::filesystem::is_symlink(link));
    }
}

TEST(InverterSimLifecycle, HelpTellsUsersHowToTryBrevantoWithoutHardware) {
    const SimRun run = runSimToExit({"--help"});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_NE(run.output.find("without the hardware"), std::string::npos);
    for (const char* word :
         {"--link", "--no-pacing", "--seed", "default 1", "mode LETTER", "qpigs PAYLOAD",
          "raw COMMAND HEX", "silent on|off", "badcrc on|off", "quit"}) {
        EXPECT_NE(run.output.find(word), std::string::npos) << word;
    }
}

}  // namespace
}  // namespace brevanto::testing
