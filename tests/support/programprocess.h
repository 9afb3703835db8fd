// The built program copied into a folder of its own and started there on
// the offscreen platform, as a user would start it from that folder.
#pragma once

#include <sys/types.h>

#include <filesystem>

namespace brevanto::testing {

class ProgramProcess {
public:
    // Copies `program` into `folder` (its settings file sits beside it) and
    // starts it with `folder` as the working directory.
    ProgramProcess(const std::filesystem::path& program, const std::filesystem::path& folder);
    // Kills a program still running.
    ~ProgramProcess();
    ProgramProcess(const ProgramProcess&) = delete;
    ProgramProcess& operator=(const ProgramProcess&) = delete;

    // True once the program handles `signal` itself (it has installed its
    // handler), read from /proc; false if that does not happen in time.
    bool waitUntilHandling(int signal) const;
    void sendSignal(int signal) const;
    // The exit status, or 128 + the signal that ended it.
    int waitForExit();
    pid_t pid() const { return m_pid; }

private:
    pid_t m_pid = -1;
};

}  // namespace brevanto::testing
