#include "childprocess.h"

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

extern char** environ;

namespace brevanto::testing {
namespace {

using SteadyClock = std::chrono::steady_clock;

std::vector<char*> pointers(std::vector<std::string>& argv) {
    std::vector<char*> out;
    for (std::string& argument : argv) {
        out.push_back(argument.data());
    }
    out.push_back(nullptr);
    return out;
}

std::array<int, 2> makePipe() {
    std::array<int, 2> ends{};
    if (::pipe2(ends.data(), O_CLOEXEC) != 0) {
        throw std::runtime_error("cannot create a pipe");
    }
    return ends;
}

// The child starts with the default handling of every signal a test
// process may have changed (SIGPIPE is ignored here).
void defaultSignals(posix_spawnattr_t& attributes) {
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

pid_t spawn(std::vector<std::string> argv, posix_spawn_file_actions_t& actions) {
    ::signal(SIGPIPE, SIG_IGN);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    defaultSignals(attributes);
    pid_t pid = -1;
    auto args = pointers(argv);
    const int failed =
        ::posix_spawnp(&pid, argv[0].c_str(), &actions, &attributes, args.data(), environ);
    posix_spawnattr_destroy(&attributes);
    return failed == 0 ? pid : -1;
}

int decodeStatus(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

int reap(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return decodeStatus(status);
}

// Reads both pipes to their ends or the deadline; false at the deadline.
bool drain(int output, int errors, ProcessRun& run, SteadyClock::time_point deadline) {
    std::array<pollfd, 2> fds{{{output, POLLIN, 0}, {errors, POLLIN, 0}}};
    std::array<std::string*, 2> into{&run.output, &run.errors};
    int open = 2;
    while (open > 0) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now());
        if (left.count() <= 0) {
            return false;
        }
        if (::poll(fds.data(), fds.size(), static_cast<int>(left.count())) < 0 && errno != EINTR) {
            return false;
        }
        for (std::size_t i = 0; i < fds.size(); ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) {
                continue;
            }
            char buffer[65536];
            const ssize_t got = ::read(fds[i].fd, buffer, sizeof buffer);
            if (got > 0) {
                into[i]->append(buffer, static_cast<std::size_t>(got));
            } else if (got == 0 || errno != EINTR) {
                ::close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
    return true;
}

}  // namespace

ProcessRun runProcess(const std::vector<std::string>& argv, std::chrono::seconds timeout) {
    const auto output = makePipe();
    const auto errors = makePipe();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errors[1], STDERR_FILENO);
    const pid_t pid = spawn(argv, actions);
    posix_spawn_file_actions_destroy(&actions);
    ::close(output[1]);
    ::close(errors[1]);
    ProcessRun run;
    if (pid < 0) {
        ::close(output[0]);
        ::close(errors[0]);
        run.errors = "cannot start " + argv[0];
        return run;
    }
    const bool ended = drain(output[0], errors[0], run, SteadyClock::now() + timeout);
    if (!ended) {
        ::kill(pid, SIGKILL);
        reap(pid);
        run.errors += "\n[killed after the time-out]";
        return run;
    }
    run.exitStatus = reap(pid);
    return run;
}

bool programAvailable(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string directories = path != nullptr ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= directories.size()) {
        const auto end = std::min(directories.find(':', start), directories.size());
        const std::filesystem::path candidate =
            std::filesystem::path(directories.substr(start, end - start)) / program;
        if (::access(candidate.c_str(), X_OK) == 0) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

BackgroundProcess::BackgroundProcess(const std::vector<std::string>& argv, Options options) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    const std::string output =
        options.outputFile.empty() ? std::string("/dev/null") : options.outputFile.string();
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.c_str(),
                                     O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    for (const auto& [child, parent] : options.descriptors) {
        posix_spawn_file_actions_adddup2(&actions, parent, child);
    }
    m_pid = spawn(argv, actions);
    posix_spawn_file_actions_destroy(&actions);
    if (m_pid < 0) {
        throw std::runtime_error("cannot start " + argv[0]);
    }
    // Through syscall(): glibc 2.36's <sys/pidfd.h> cannot be used from C++.
    m_pidFd = static_cast<int>(::syscall(SYS_pidfd_open, m_pid, 0));
    if (m_pidFd < 0) {
        ::kill(m_pid, SIGKILL);
        reap(m_pid);
        m_reaped = true;
        throw std::runtime_error("cannot watch " + argv[0]);
    }
}

BackgroundProcess::~BackgroundProcess() {
    if (m_reaped) {
        return;
    }
    ::kill(m_pid, SIGTERM);
    if (waitForExit(std::chrono::seconds(10)) < 0) {
        ::kill(m_pid, SIGKILL);
        waitForExit(std::chrono::seconds(10));
    }
}

int BackgroundProcess::waitForExit(std::chrono::milliseconds timeout) {
    if (!m_reaped) {
        pollfd exited{m_pidFd, POLLIN, 0};
        if (::poll(&exited, 1, static_cast<int>(timeout.count())) != 1) {
            return -1;
        }
        m_status = reap(m_pid);
        m_reaped = true;
        ::close(m_pidFd);
        m_pidFd = -1;
    }
    return m_status;
}

}  // namespace brevanto::testing
