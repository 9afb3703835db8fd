// The built program copied into a folder of its own and started there on
// the offscreen platform, as a user would start it from that folder.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "support/childprocess.h"

namespace brevanto::testing {

class ProgramProcess {
public:
    using Environment = std::vector<std::pair<std::string, std::string>>;

    // Copies `program` into `folder` (its settings file sits beside it) and
    // starts it with `folder` as the working directory, with `environment`
    // added to this process's.
    ProgramProcess(const std::filesystem::path& program, const std::filesystem::path& folder,
                   const Environment& environment = {});

    // True once the program handles `signal` itself (it has installed its
    // handler), read from /proc; false if that does not happen in time.
    bool waitUntilHandling(int signal) const;
    void sendSignal(int signal) const;
    // The exit status, or 128 + the signal that ended it; -1 when it has
    // not ended within kWaitGuard (it is killed then).
    int waitForExit();
    pid_t pid() const { return m_child->pid(); }

private:
    // Kills a program still running when it goes.
    std::unique_ptr<ChildProcess> m_child;
};

}  // namespace brevanto::testing
