// Other programs as test counterparts (curl, chromium, wrk, nginx): run one
// to its end with its output captured, or keep one running in the
// background until it is no longer wanted.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace brevanto::testing {

struct ProcessRun {
    // The exit status, 128 + the signal that ended it, or -1 when it could
    // not be started or was killed for running past its time.
    int exitStatus = -1;
    std::string output;
    std::string errors;
};

// Looked up through PATH. The time-out only guards against a hang.
ProcessRun runProcess(const std::vector<std::string>& argv,
                      std::chrono::seconds timeout = std::chrono::seconds(60));

// Whether `program` is found through PATH.
bool programAvailable(const std::string& program);

class BackgroundProcess {
public:
    struct Options {
        // Pairs of (descriptor in the child, descriptor here) to hand over.
        std::vector<std::pair<int, int>> descriptors{};
        // Where the child's standard output and errors go; empty: nowhere.
        std::filesystem::path outputFile{};
    };

    // Throws std::runtime_error when the program cannot be started.
    BackgroundProcess(const std::vector<std::string>& argv, Options options);
    // Asks the child to end with SIGTERM and kills it if it will not.
    ~BackgroundProcess();
    BackgroundProcess(const BackgroundProcess&) = delete;
    BackgroundProcess& operator=(const BackgroundProcess&) = delete;

    // Waits up to `timeout` for the child to end on its own; its status or -1.
    int waitForExit(std::chrono::milliseconds timeout);

private:
    pid_t m_pid = -1;
    int m_pidFd = -1;
    bool m_reaped = false;
    int m_status = -1;
};

}  // namespace brevanto::testing
