#include "support/simprocess.h"

#include <poll.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <stdexcept>

#include <gtest/gtest.h>

namespace brevanto::testing {
namespace {

using Clock = std::chrono::steady_clock;

std::string simulatorPath() {
    const char* configured = std::getenv("BREVANTO_SIM");
    return (configured != nullptr && *configured != '\0') ? configured : BREVANTO_SIM_PATH;
}

int millisecondsUntil(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    return static_cast<int>(std::max<long long>(left.count(), 0));
}

}  // namespace

SimProcess::SimProcess() : SimProcess(Options{}) {}

SimProcess::SimProcess(Options options)
    : m_linkPath(std::move(options.linkPath)), m_timeout(options.timeout) {
    if (m_linkPath.empty()) {
        m_dir = std::make_unique<TempDir>();
        m_linkPath = *m_dir / "ttyINV";
    }
    std::vector<std::string> argv{simulatorPath(), "--link", m_linkPath.string()};
    if (!options.pacing) {
        argv.push_back("--no-pacing");
    }
    argv.insert(argv.end(), options.extraArguments.begin(), options.extraArguments.end());
    // A simulator that never gets ready is killed with the child below.
    m_child = std::make_unique<ChildProcess>(
        argv, ChildProcess::Options{.input = ChildProcess::Stream::Pipe,
                                    .output = ChildProcess::Stream::Pipe});
    const std::string expected = "ready " + m_linkPath.string();
    const std::string line = readLine("with its ready line");
    if (line != expected) {
        throw std::runtime_error("brevanto-sim said '" + line + "', not '" + expected + "'");
    }
}

SimProcess::~SimProcess() {
    if (!m_waited) {
        closeInput();
        try {
            EXPECT_EQ(waitForExit(), 0) << "brevanto-sim did not exit cleanly";
        } catch (const std::exception& error) {
            ADD_FAILURE() << error.what();
        }
    }
}

std::string SimProcess::command(std::string_view line) {
    const std::string text = std::string(line) + "\n";
    if (::write(m_child->input(), text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
        throw std::runtime_error("cannot write to brevanto-sim");
    }
    return readLine("'" + std::string(line) + "'");
}

std::string SimProcess::readLine(const std::string& awaited) {
    const auto deadline = Clock::now() + m_timeout;
    for (;;) {
        if (const size_t end = m_pendingOutput.find('\n'); end != std::string::npos) {
            std::string answer = m_pendingOutput.substr(0, end);
            m_pendingOutput.erase(0, end + 1);
            return answer;
        }
        pollfd readable{m_child->output(), POLLIN, 0};
        if (::poll(&readable, 1, millisecondsUntil(deadline)) != 1) {
            throw std::runtime_error("brevanto-sim did not answer " + awaited + " in time");
        }
        std::array<char, 512> buffer{};
        const ssize_t n = ::read(m_child->output(), buffer.data(), buffer.size());
        if (n <= 0) {
            throw std::runtime_error("brevanto-sim ended before answering " + awaited);
        }
        m_pendingOutput.append(buffer.data(), static_cast<size_t>(n));
    }
}

void SimProcess::closeInput() {
    m_child->closeInput();
}

void SimProcess::sendSignal(int signal) {
    m_child->sendSignal(signal);
}

int SimProcess::waitForExit() {
    if (!m_waited) {
        m_waited = true;
        const auto status = m_child->waitForExit(m_timeout);
        if (!status) {
            m_child->kill();
            throw std::runtime_error("brevanto-sim did not end in time and was killed");
        }
        m_exitStatus = *status;
    }
    return m_exitStatus;
}

SimRun runSimToExit(const std::vector<std::string>& arguments) {
    std::vector<std::string> argv{simulatorPath()};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    SimRun run = runToExit(argv, kSimTimeout);
    if (run.exitStatus < 0) {
        throw std::runtime_error("brevanto-sim did not run to its end: " + run.errors);
    }
    return run;
}

}  // namespace brevanto::testing
