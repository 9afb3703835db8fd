// brevanto-sim ($BREVANTO_SIM, else this build's) as a child process on a real
// pseudo-terminal, for tests that need an inverter at the end of a serial line.
#pragma once

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "support/childprocess.h"
#include "support/tempdir.h"

namespace brevanto::testing {

// How long anything the simulator does may take before a test gives up on
// it; only a guard against hanging, never something a test waits out.
inline constexpr std::chrono::seconds kSimTimeout{10};

class SimProcess {
public:
    // Every member has an initializer, so {.pacing = true} names only what
    // differs from the defaults.
    struct Options {
        bool pacing = false;
        // Empty: "ttyINV" in a fresh directory owned by this object.
        std::filesystem::path linkPath{};
        std::vector<std::string> extraArguments{};
        // How long an answer and the end may take; longer for a simulator
        // on a clock that libfaketime runs fast.
        std::chrono::milliseconds timeout = kSimTimeout;
    };

    // Returns once the simulator has said it is ready; throws if it never does.
    SimProcess();
    explicit SimProcess(Options options);
    // Ends the simulator by closing its input if it still runs; an exit other
    // than a clean one (a crash, a sanitizer report) fails the current test.
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    const std::filesystem::path& linkPath() const { return m_linkPath; }

    // Sends one console line and returns the answer line ("ok", "error ...").
    std::string command(std::string_view line);
    void closeInput();
    void sendSignal(int signal);
    // The exit status, or 128 + the signal that killed it.
    int waitForExit();

private:
    std::string readLine(const std::string& awaited);

    std::unique_ptr<TempDir> m_dir;
    std::filesystem::path m_linkPath;
    std::chrono::milliseconds m_timeout;
    std::unique_ptr<ChildProcess> m_child;
    std::string m_pendingOutput;
    bool m_waited = false;
    int m_exitStatus = -1;
};

using SimRun = ProcessRun;

// Runs the simulator with these arguments, input closed, to its end.
SimRun runSimToExit(const std::vector<std::string>& arguments);

}  // namespace brevanto::testing
