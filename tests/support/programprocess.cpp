#include "support/programprocess.h"

#include <fstream>
#include <string>

#include "support/waituntil.h"

namespace brevanto::testing {
namespace {

// SigCgt in /proc/<pid>/status is the mask of caught signals, in hex, bit
// n-1 for signal n.
bool catches(pid_t pid, int signal) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with("SigCgt:")) {
            const unsigned long long caught = std::stoull(line.substr(7), nullptr, 16);
            return ((caught >> (signal - 1)) & 1U) != 0;
        }
    }
    return false;
}

}  // namespace

ProgramProcess::ProgramProcess(const std::filesystem::path& original,
                               const std::filesystem::path& folder,
                               const Environment& environment) {
    const auto program = folder / original.filename();
    std::filesystem::copy_file(original, program,
                               std::filesystem::copy_options::overwrite_existing);
    Environment all{{"QT_QPA_PLATFORM", "offscreen"}};
    all.insert(all.end(), environment.begin(), environment.end());
    m_child = std::make_unique<ChildProcess>(
        std::vector<std::string>{program.string()},
        ChildProcess::Options{.workingDirectory = folder,
                              .environment = all,
                              .input = ChildProcess::Stream::Inherit});
}

bool ProgramProcess::waitUntilHandling(int signal) const {
    return waitUntil([&] { return catches(m_child->pid(), signal); }, pauseBriefly);
}

void ProgramProcess::sendSignal(int signal) const {
    m_child->sendSignal(signal);
}

int ProgramProcess::waitForExit() {
    const auto status = m_child->waitForExit(kWaitGuard);
    return status ? *status : (m_child->kill(), -1);
}

}  // namespace brevanto::testing
