// Another program as a test's counterpart (the simulator, the built program,
// curl, chromium, wrk, nginx): the one place that spawns and reaps a child.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace brevanto::testing {

// How long a child may take to end once it has been told to; only a guard
// against a hang, never something a test waits out.
inline constexpr std::chrono::seconds kExitGuard{10};

class ChildProcess {
public:
    enum class Stream { Inherit, Null, Pipe };

    // Every member has an initializer, so {.output = Stream::Pipe} names
    // only what differs from the defaults.
    struct Options {
        // Empty: this process's.
        std::filesystem::path workingDirectory{};
        // (name, value) set on top of this process's environment.
        std::vector<std::pair<std::string, std::string>> environment{};
        Stream input = Stream::Null;
        Stream output = Stream::Inherit;
        Stream errors = Stream::Inherit;
        // When set, output and errors both go there (appended), whatever
        // `output` and `errors` say.
        std::filesystem::path outputFile{};
        // Pairs of (descriptor in the child, descriptor here) to hand over.
        std::vector<std::pair<int, int>> descriptors{};
        // Sent by the destructor to a child still running, which is killed
        // if it does not end within kExitGuard; SIGKILL ends it at once.
        int endSignal = SIGKILL;
    };

    // argv[0] is looked up through PATH unless it names a path. The child
    // starts with no signal blocked and the default handling of those a test
    // process may have changed. Throws std::runtime_error when it cannot.
    explicit ChildProcess(const std::vector<std::string>& argv);
    ChildProcess(const std::vector<std::string>& argv, Options options);
    // Ends a child still running (see Options::endSignal) and reaps it.
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return m_pid; }
    // This end of the piped streams; -1 when not piped or closed.
    int input() const { return m_input; }
    int output() const { return m_output; }
    int errors() const { return m_errors; }
    void closeInput();
    void closeOutput();
    void closeErrors();

    // Does nothing once the child is reaped, when its id may be another's.
    void sendSignal(int signal) const;
    // Waits up to `guard` for the child to end and reaps it: its exit status
    // or 128 + the signal that ended it; nothing if it still runs.
    std::optional<int> waitForExit(std::chrono::milliseconds guard = kExitGuard);
    // Kills a child still running and reaps it; its status as above.
    int kill();
    bool reaped() const { return m_status.has_value(); }

private:
    pid_t m_pid = -1;
    int m_pidFd = -1;
    int m_input = -1;
    int m_output = -1;
    int m_errors = -1;
    int m_endSignal = SIGKILL;
    std::optional<int> m_status;
};

struct ProcessRun {
    // The exit status, 128 + the signal that ended it, or -1 when it could
    // not be started or was killed for running past its guard.
    int exitStatus = -1;
    std::string output;
    std::string errors;
};

// How long runToExit lets a program run; only a guard against a hang.
inline constexpr std::chrono::seconds kRunGuard{60};

// Runs a program to its end, input from /dev/null, output and errors
// captured; killed at the guard.
ProcessRun runToExit(const std::vector<std::string>& argv,
                     std::chrono::milliseconds guard = kRunGuard);

// Whether `program` is found through PATH.
bool programAvailable(const std::string& program);

}  // namespace brevanto::testing
