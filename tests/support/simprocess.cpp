#include "support/simprocess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <stdexcept>

#include <gtest/gtest.h>

extern char** environ;

namespace brevanto::testing {
namespace {

using Clock = std::chrono::steady_clock;

struct Child {
    pid_t pid = -1;
    int pidFd = -1;
    int input = -1;
    int output = -1;
    int errors = -1;
};

std::string simulatorPath() {
    const char* configured = std::getenv("BREVANTO_SIM");
    return (configured != nullptr && *configured != '\0') ? configured : BREVANTO_SIM_PATH;
}

std::array<int, 2> makePipe() {
    std::array<int, 2> ends{};
    if (::pipe2(ends.data(), O_CLOEXEC) != 0) {
        throw std::runtime_error("cannot create a pipe");
    }
    return ends;
}

void closeFd(int& fd) {
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}

int millisecondsUntil(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    return static_cast<int>(std::max<long long>(left.count(), 0));
}

// The child gets the default handling of the signals a test may send it and
// of SIGPIPE, which the test process itself ignores.
void setUpSignals(posix_spawnattr_t& attributes) {
    sigset_t none;
    sigemptyset(&none);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (const int signal : {SIGPIPE, SIGTERM, SIGINT, SIGHUP}) {
        sigaddset(&defaults, signal);
    }
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
}

Child spawn(const std::vector<std::string>& arguments, bool captureErrors) {
    // Writing to a simulator that has died must fail the write, not the
    // whole test program.
    ::signal(SIGPIPE, SIG_IGN);
    std::vector<std::string> argv{simulatorPath()};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<char*> pointers;
    for (std::string& argument : argv) {
        pointers.push_back(argument.data());
    }
    pointers.push_back(nullptr);

    const auto input = makePipe();
    const auto output = makePipe();
    const auto errors = captureErrors ? makePipe() : std::array<int, 2>{-1, -1};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    if (captureErrors) {
        posix_spawn_file_actions_adddup2(&actions, errors[1], STDERR_FILENO);
    }
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    setUpSignals(attributes);

    Child child;
    const int failed =
        ::posix_spawn(&child.pid, argv[0].c_str(), &actions, &attributes, pointers.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ::close(input[0]);
    ::close(output[1]);
    if (captureErrors) {
        ::close(errors[1]);
    }
    child.input = input[1];
    child.output = output[0];
    child.errors = errors[0];
    if (failed != 0) {
        closeFd(child.input);
        closeFd(child.output);
        closeFd(child.errors);
        throw std::runtime_error("cannot start " + argv[0]);
    }
    // Through syscall(): glibc 2.36's <sys/pidfd.h> cannot be used from C++.
    child.pidFd = static_cast<int>(::syscall(SYS_pidfd_open, child.pid, 0));
    if (child.pidFd < 0) {
        throw std::runtime_error("cannot watch the simulator's process");
    }
    return child;
}

// Waits for the child to end, killing it if it outlives the time-out.
int reap(pid_t pid, int pidFd) {
    pollfd exited{pidFd, POLLIN, 0};
    const int ready = ::poll(&exited, 1, millisecondsUntil(Clock::now() + kSimTimeout));
    if (ready != 1) {
        ::kill(pid, SIGKILL);
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (ready != 1) {
        throw std::runtime_error("brevanto-sim did not end in time and was killed");
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace

SimProcess::SimProcess() : SimProcess(Options{}) {}

SimProcess::SimProcess(Options options) : m_linkPath(std::move(options.linkPath)) {
    if (m_linkPath.empty()) {
        m_dir = std::make_unique<TempDir>();
        m_linkPath = *m_dir / "ttyINV";
    }
    std::vector<std::string> arguments{"--link", m_linkPath.string()};
    if (!options.pacing) {
        arguments.push_back("--no-pacing");
    }
    arguments.insert(arguments.end(), options.extraArguments.begin(), options.extraArguments.end());
    const Child child = spawn(arguments, false);
    m_pid = child.pid;
    m_pidFd = child.pidFd;
    m_input = child.input;
    m_output = child.output;
    const std::string expected = "ready " + m_linkPath.string();
    std::string line;
    std::string problem;
    try {
        line = readLine("with its ready line");
    } catch (const std::exception& error) {
        problem = error.what();
    }
    if (line != expected) {
        ::kill(m_pid, SIGKILL);
        closeAll();
        throw std::runtime_error(
            problem.empty() ? "brevanto-sim said '" + line + "', not '" + expected + "'" : problem);
    }
}

SimProcess::~SimProcess() {
    if (!m_reaped) {
        closeInput();
        try {
            EXPECT_EQ(waitForExit(), 0) << "brevanto-sim did not exit cleanly";
        } catch (const std::exception& error) {
            ADD_FAILURE() << error.what();
        }
    }
    closeAll();
}

void SimProcess::closeAll() {
    closeFd(m_input);
    closeFd(m_output);
    if (!m_reaped) {
        m_reaped = true;
        try {
            reap(m_pid, m_pidFd);
        } catch (const std::exception&) {
            // Killed already; nothing more to do about it.
        }
    }
    closeFd(m_pidFd);
}

std::string SimProcess::command(std::string_view line) {
    const std::string text = std::string(line) + "\n";
    if (::write(m_input, text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
        throw std::runtime_error("cannot write to brevanto-sim");
    }
    return readLine("'" + std::string(line) + "'");
}

std::string SimProcess::readLine(const std::string& awaited) {
    const auto deadline = Clock::now() + kSimTimeout;
    for (;;) {
        if (const size_t end = m_pendingOutput.find('\n'); end != std::string::npos) {
            std::string answer = m_pendingOutput.substr(0, end);
            m_pendingOutput.erase(0, end + 1);
            return answer;
        }
        pollfd readable{m_output, POLLIN, 0};
        if (::poll(&readable, 1, millisecondsUntil(deadline)) != 1) {
            throw std::runtime_error("brevanto-sim did not answer " + awaited + " in time");
        }
        std::array<char, 512> buffer{};
        const ssize_t n = ::read(m_output, buffer.data(), buffer.size());
        if (n <= 0) {
            throw std::runtime_error("brevanto-sim ended before answering " + awaited);
        }
        m_pendingOutput.append(buffer.data(), static_cast<size_t>(n));
    }
}

void SimProcess::closeInput() {
    closeFd(m_input);
}

void SimProcess::sendSignal(int signal) {
    ::kill(m_pid, signal);
}

int SimProcess::waitForExit() {
    if (!m_reaped) {
        m_reaped = true;
        m_exitStatus = reap(m_pid, m_pidFd);
    }
    return m_exitStatus;
}

SimRun runSimToExit(const std::vector<std::string>& arguments) {
    Child child = spawn(arguments, true);
    closeFd(child.input);
    SimRun run;
    const auto deadline = Clock::now() + kSimTimeout;
    std::array<pollfd, 2> streams{{{child.output, POLLIN, 0}, {child.errors, POLLIN, 0}}};
    std::array<std::string*, 2> texts{&run.output, &run.errors};
    while ((streams[0].fd >= 0 || streams[1].fd >= 0) &&
           ::poll(streams.data(), streams.size(), millisecondsUntil(deadline)) > 0) {
        for (size_t i = 0; i < streams.size(); ++i) {
            if (streams[i].revents == 0) {
                continue;
            }
            std::array<char, 512> buffer{};
            const ssize_t n = ::read(streams[i].fd, buffer.data(), buffer.size());
            if (n <= 0) {
                closeFd(i == 0 ? child.output : child.errors);
                streams[i].fd = -1;
            } else {
                texts[i]->append(buffer.data(), static_cast<size_t>(n));
            }
        }
    }
    closeFd(child.output);
    closeFd(child.errors);
    run.exitStatus = reap(child.pid, child.pidFd);
    ::close(child.pidFd);
    return run;
}

}  // namespace brevanto::testing
