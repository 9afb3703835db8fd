#include "support/childprocess.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

extern char** environ;

namespace brevanto::testing {
namespace {

using SteadyClock = std::chrono::steady_clock;

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

int millisecondsUntil(SteadyClock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - SteadyClock::now());
    return static_cast<int>(std::max<long long>(left.count(), 0));
}

int decodeStatus(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// This process's environment with `extra` set on top.
std::vector<std::string> environmentWith(
    const std::vector<std::pair<std::string, std::string>>& extra) {
    std::vector<std::string> entries;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        const std::string name = text.substr(0, text.find('='));
        bool replaced = false;
        for (const auto& [extraName, value] : extra) {
            replaced = replaced || extraName == name;
        }
        if (!replaced) {
            entries.push_back(text);
        }
    }
    for (const auto& [name, value] : extra) {
        entries.push_back(name + "=" + value);
    }
    return entries;
}

std::vector<char*> pointers(std::vector<std::string>& texts) {
    std::vector<char*> out;
    for (std::string& text : texts) {
        out.push_back(text.data());
    }
    out.push_back(nullptr);
    return out;
}

// The child gets the default handling of the signals a test may send it and
// of SIGPIPE, which the test process itself ignores, and blocks none.
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

// One standard stream of the child: the pipe's far end goes to the child,
// this end is returned (-1 when not piped).
int setUpStream(posix_spawn_file_actions_t& actions, ChildProcess::Stream stream, int fd,
                std::vector<int>& childEnds) {
    switch (stream) {
        case ChildProcess::Stream::Inherit:
            return -1;
        case ChildProcess::Stream::Null:
            posix_spawn_file_actions_addopen(&actions, fd, "/dev/null",
                                             fd == STDIN_FILENO ? O_RDONLY : O_WRONLY, 0);
            return -1;
        case ChildProcess::Stream::Pipe:
            break;
    }
    const auto ends = makePipe();
    const bool reading = fd == STDIN_FILENO;
    childEnds.push_back(reading ? ends[0] : ends[1]);
    posix_spawn_file_actions_adddup2(&actions, childEnds.back(), fd);
    return reading ? ends[1] : ends[0];
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv) : ChildProcess(argv, Options{}) {}

ChildProcess::ChildProcess(const std::vector<std::string>& argv, Options options)
    : m_endSignal(options.endSignal) {
    if (argv.empty()) {
        throw std::invalid_argument("a child needs a program to run");
    }
    // Writing to a child that has died must fail the write, not the whole
    // test program.
    ::signal(SIGPIPE, SIG_IGN);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    std::vector<int> childEnds;
    m_input = setUpStream(actions, options.input, STDIN_FILENO, childEnds);
    if (options.outputFile.empty()) {
        m_output = setUpStream(actions, options.output, STDOUT_FILENO, childEnds);
        m_errors = setUpStream(actions, options.errors, STDERR_FILENO, childEnds);
    } else {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, options.outputFile.c_str(),
                                         O_WRONLY | O_CREAT | O_APPEND, 0644);
        posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    }
    for (const auto& [inChild, here] : options.descriptors) {
        posix_spawn_file_actions_adddup2(&actions, here, inChild);
    }
    if (!options.workingDirectory.empty()) {
        posix_spawn_file_actions_addchdir_np(&actions, options.workingDirectory.c_str());
    }
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    setUpSignals(attributes);

    std::vector<std::string> arguments = argv;
    std::vector<std::string> environment = environmentWith(options.environment);
    auto argumentPointers = pointers(arguments);
    auto environmentPointers = pointers(environment);
    const int failed = ::posix_spawnp(&m_pid, arguments[0].c_str(), &actions, &attributes,
                                      argumentPointers.data(), environmentPointers.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    for (int& end : childEnds) {
        closeFd(end);
    }
    if (failed != 0) {
        closeInput();
        closeOutput();
        closeErrors();
        throw std::runtime_error("cannot start " + argv[0] + ": " + std::strerror(failed));
    }
    // Through syscall(): glibc 2.36's <sys/pidfd.h> cannot be used from C++.
    m_pidFd = static_cast<int>(::syscall(SYS_pidfd_open, m_pid, 0));
    if (m_pidFd < 0) {
        kill();
        closeInput();
        closeOutput();
        closeErrors();
        throw std::runtime_error("cannot watch " + argv[0]);
    }
}

ChildProcess::~ChildProcess() {
    if (!reaped() && m_endSignal != SIGKILL) {
        sendSignal(m_endSignal);
        waitForExit(kExitGuard);
    }
    if (!reaped()) {
        kill();
    }
    closeInput();
    closeOutput();
    closeErrors();
    closeFd(m_pidFd);
}

void ChildProcess::closeInput() {
    closeFd(m_input);
}

void ChildProcess::closeOutput() {
    closeFd(m_output);
}

void ChildProcess::closeErrors() {
    closeFd(m_errors);
}

void ChildProcess::sendSignal(int signal) const {
    // kill(-1, ...) would reach every process this user owns.
    if (!reaped() && m_pid > 0) {
        ::kill(m_pid, signal);
    }
}

std::optional<int> ChildProcess::waitForExit(std::chrono::milliseconds guard) {
    if (reaped()) {
        return m_status;
    }
    const auto deadline = SteadyClock::now() + guard;
    pollfd exited{m_pidFd, POLLIN, 0};
    int ready = 0;
    while ((ready = ::poll(&exited, 1, millisecondsUntil(deadline))) < 0 && errno == EINTR) {
    }
    if (ready != 1) {
        return std::nullopt;
    }
    int status = 0;
    while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
    }
    m_status = decodeStatus(status);
    return m_status;
}

int ChildProcess::kill() {
    sendSignal(SIGKILL);
    if (reaped()) {
        return *m_status;
    }
    // A killed child ends at once; waitpid needs no guard here.
    int status = 0;
    while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
    }
    m_status = decodeStatus(status);
    return *m_status;
}

ProcessRun runToExit(const std::vector<std::string>& argv, std::chrono::milliseconds guard) {
    ProcessRun run;
    const auto deadline = SteadyClock::now() + guard;
    std::optional<ChildProcess> child;
    try {
        child.emplace(argv, ChildProcess::Options{.output = ChildProcess::Stream::Pipe,
                                                  .errors = ChildProcess::Stream::Pipe});
    } catch (const std::exception& error) {
        run.errors = error.what();
        return run;
    }
    // Both pipes are read to their ends, so a child writing much to either
    // never blocks on the other.
    std::array<pollfd, 2> streams{{{child->output(), POLLIN, 0}, {child->errors(), POLLIN, 0}}};
    std::array<std::string*, 2> texts{&run.output, &run.errors};
    int open = 2;
    while (open > 0) {
        const int ready = ::poll(streams.data(), streams.size(), millisecondsUntil(deadline));
        if (ready == 0 || (ready < 0 && errno != EINTR)) {
            break;
        }
        for (std::size_t i = 0; i < streams.size(); ++i) {
            if (streams[i].fd < 0 || streams[i].revents == 0) {
                continue;
            }
            std::array<char, 65536> buffer{};
            const ssize_t got = ::read(streams[i].fd, buffer.data(), buffer.size());
            if (got > 0) {
                texts[i]->append(buffer.data(), static_cast<std::size_t>(got));
            } else if (got == 0 || errno != EINTR) {
                i == 0 ? child->closeOutput() : child->closeErrors();
                streams[i].fd = -1;
                --open;
            }
        }
    }
    const auto status =
        open == 0 ? child->waitForExit(std::chrono::milliseconds(millisecondsUntil(deadline)))
                  : std::nullopt;
    if (!status) {
        child->kill();
        run.errors += "\n[killed after the time-out]";
        return run;
    }
    run.exitStatus = *status;
    return run;
}

bool programAvailable(const std::string& program) {
    const char* path = std::getenv("PATH");
    const std::string directories = path != nullptr ? path : "/usr/bin:/bin";
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

}  // namespace brevanto::testing
