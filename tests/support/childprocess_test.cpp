// The one launcher of the tests: statuses as the tests read them, the streams
// and descriptors a child gets, and the guards that end a child left running.
#include "support/childprocess.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <stdexcept>

#include <gtest/gtest.h>

#include "support/tempdir.h"

namespace brevanto::testing {
namespace {

using namespace std::chrono_literals;

std::vector<std::string> shell(const std::string& script) {
    return {"sh", "-c", script};
}

// All a child writes to `fd` until it closes it.
std::string readToEnd(int fd) {
    std::string text;
    std::array<char, 256> buffer{};
    for (ssize_t n; (n = ::read(fd, buffer.data(), buffer.size())) != 0;) {
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            break;
        }
        text.append(buffer.data(), static_cast<std::size_t>(n));
    }
    return text;
}

TEST(ChildProcessTest, ReportsTheExitStatus) {
    ChildProcess child(shell("exit 3"));
    EXPECT_EQ(child.waitForExit(), 3);
    EXPECT_TRUE(child.reaped());
    EXPECT_EQ(child.waitForExit(), 3) << "a reaped child keeps its status";
}

TEST(ChildProcessTest, ReportsASignalAs128PlusItsNumber) {
    ChildProcess child({"sleep", "60"});
    child.sendSignal(SIGTERM);
    EXPECT_EQ(child.waitForExit(), 128 + SIGTERM);
}

TEST(ChildProcessTest, TheChildHasTheDefaultHandlingOfSigpipeThatTheTestsIgnore) {
    // The launcher ignores SIGPIPE here; a child inheriting that would
    // shrug the signal off and exit 0.
    ChildProcess child(shell("kill -PIPE $$; exit 0"));
    EXPECT_EQ(child.waitForExit(), 128 + SIGPIPE);
}

TEST(ChildProcessTest, TheGuardReturnsWhileAHungChildStillRunsAndKillEndsIt) {
    ChildProcess child({"sleep", "60"});
    EXPECT_EQ(child.waitForExit(50ms), std::nullopt);
    EXPECT_FALSE(child.reaped());
    EXPECT_EQ(child.kill(), 128 + SIGKILL);
    EXPECT_TRUE(child.reaped());
}

TEST(ChildProcessTest, GoingAwayKillsAndReapsAChildStillRunning) {
    pid_t pid = -1;
    {
        ChildProcess child({"sleep", "60"});
        pid = child.pid();
    }
    // Reaped: not even a zombie answers any more.
    EXPECT_EQ(::kill(pid, 0), -1);
    EXPECT_EQ(errno, ESRCH);
}

TEST(ChildProcessTest, GoingAwayAsksWithTheEndSignalFirst) {
    TempDir dir;
    const auto mark = dir / "ended";
    {
        ChildProcess child(shell("trap 'echo asked > " + mark.string() +
                                 "; exit 0' TERM; echo up; "
                                 "while :; do sleep 1; done"),
                           {.output = ChildProcess::Stream::Pipe, .endSignal = SIGTERM});
        // The trap is set once the script has said so.
        std::array<char, 3> up{};
        ASSERT_EQ(::read(child.output(), up.data(), up.size()), 3);
    }
    EXPECT_EQ(readFile(mark), "asked\n");
}

TEST(ChildProcessTest, PipesTheStandardStreams) {
    ChildProcess child({"cat"},
                       {.input = ChildProcess::Stream::Pipe, .output = ChildProcess::Stream::Pipe});
    const std::string text = "a line for cat\n";
    ASSERT_EQ(::write(child.input(), text.data(), text.size()), static_cast<ssize_t>(text.size()));
    child.closeInput();
    EXPECT_EQ(child.input(), -1);
    EXPECT_EQ(readToEnd(child.output()), text);
    EXPECT_EQ(child.waitForExit(), 0);
}

TEST(ChildProcessTest, StartsInItsFolderWithTheExtraEnvironment) {
    TempDir dir;
    ChildProcess child(shell("pwd; echo \"$BREVANTO_PROBE\"; echo \"$HOME\""),
                       {.workingDirectory = dir.path(),
                        .environment = {{"BREVANTO_PROBE", "set"}, {"HOME", "/elsewhere"}},
                        .output = ChildProcess::Stream::Pipe});
    EXPECT_EQ(readToEnd(child.output()), dir.path().string() + "\nset\n/elsewhere\n");
    EXPECT_EQ(child.waitForExit(), 0);
}

TEST(ChildProcessTest, HandsOverDescriptorsAndSendsOutputToAFile) {
    TempDir dir;
    std::array<int, 2> ends{};
    ASSERT_EQ(::pipe2(ends.data(), O_CLOEXEC), 0);
    ChildProcess child(shell("echo handed >&5; echo out; echo err >&2"),
                       {.outputFile = dir / "child.log", .descriptors = {{5, ends[1]}}});
    ::close(ends[1]);
    EXPECT_EQ(readToEnd(ends[0]), "handed\n");
    ::close(ends[0]);
    EXPECT_EQ(child.waitForExit(), 0);
    EXPECT_EQ(readFile(dir / "child.log"), "out\nerr\n");
}

TEST(ChildProcessTest, AProgramThatCannotStartThrows) {
    EXPECT_THROW(ChildProcess({"brevanto-no-such-program"}), std::runtime_error);
}

TEST(RunToExitTest, CapturesOutputErrorsAndStatus) {
    const ProcessRun run = runToExit(shell("echo out; echo err >&2; exit 2"));
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_EQ(run.output, "out\n");
    EXPECT_EQ(run.errors, "err\n");
}

TEST(RunToExitTest, KillsAChildRunningPastTheGuard) {
    const auto started = std::chrono::steady_clock::now();
    const ProcessRun run = runToExit({"sleep", "60"}, 100ms);
    EXPECT_EQ(run.exitStatus, -1);
    EXPECT_NE(run.errors.find("killed"), std::string::npos) << run.errors;
    // Far short of the child's own minute: the guard ended it.
    EXPECT_LT(std::chrono::steady_clock::now() - started, 30s);
}

TEST(RunToExitTest, SaysWhenAProgramCannotStart) {
    const ProcessRun run = runToExit({"brevanto-no-such-program"});
    EXPECT_EQ(run.exitStatus, -1);
    EXPECT_NE(run.errors.find("cannot start"), std::string::npos) << run.errors;
}

TEST(ProgramAvailableTest, LooksThroughPath) {
    EXPECT_TRUE(programAvailable("sh"));
    EXPECT_FALSE(programAvailable("brevanto-no-such-program"));
}

}  // namespace
}  // namespace brevanto::testing
