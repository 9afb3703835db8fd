#include "support/programprocess.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string>
#include <thread>

namespace brevanto::testing {

ProgramProcess::ProgramProcess(const std::filesystem::path& original,
                               const std::filesystem::path& folder) {
    const auto program = folder / original.filename();
    std::filesystem::copy_file(original, program,
                               std::filesystem::copy_options::overwrite_existing);
    m_pid = ::fork();
    if (m_pid < 0) {
        throw std::runtime_error("fork failed");
    }
    if (m_pid == 0) {
        if (::chdir(folder.c_str()) != 0) {
            ::_exit(126);
        }
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        ::execl(program.c_str(), "brevanto", static_cast<char*>(nullptr));
        ::_exit(127);
    }
}

ProgramProcess::~ProgramProcess() {
    if (m_pid > 0) {
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
    }
}

bool ProgramProcess::waitUntilHandling(int signal) const {
    // SigCgt is the mask of caught signals, in hex, bit n-1 for signal n.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < deadline) {
        std::ifstream status("/proc/" + std::to_string(m_pid) + "/status");
        std::string line;
        while (std::getline(status, line)) {
            if (line.starts_with("SigCgt:")) {
                const unsigned long long caught = std::stoull(line.substr(7), nullptr, 16);
                if ((caught >> (signal - 1)) & 1U) {
                    return true;
                }
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

void ProgramProcess::sendSignal(int signal) const {
    ::kill(m_pid, signal);
}

int ProgramProcess::waitForExit() {
    int status = 0;
    ::waitpid(m_pid, &status, 0);
    m_pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace brevanto::testing
