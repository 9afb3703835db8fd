#include "inverter-sim/eventloop.h"

#include <poll.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <optional>
#include <system_error>
#include <variant>

namespace brevanto::sim {
namespace {

// Long enough for any scripted reply a person could want to type.
constexpr size_t kMaxConsoleLine = 64 * 1024;

template <class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

double secondsSinceLocalMidnight() {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    ::localtime_r(&now.tv_sec, &local);
    return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec +
           static_cast<double>(now.tv_nsec) / 1e9;
}

[[noreturn]] void fail(const char* what) {
    throw std::system_error(errno, std::generic_category(), what);
}

timespec untilDeadline(SteadyTime deadline) {
    const auto left = std::max(deadline - std::chrono::steady_clock::now(),
                               std::chrono::steady_clock::duration::zero());
    const auto nanos = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
    return timespec{static_cast<time_t>(nanos / 1'000'000'000),
                    static_cast<long>(nanos % 1'000'000'000)};
}

}  // namespace

EventLoop::EventLoop(const LoopSetup& setup)
    : m_setup(setup), m_responder(setup.seed), m_receive(setup.paced), m_transmit(setup.paced) {}

void EventLoop::run() {
    while (m_running) {
        const SteadyTime now = std::chrono::steady_clock::now();
        answerDueFrames(now);
        writeDueBytes(now);
        waitForEvents();
    }
}

void EventLoop::say(std::string_view line) {
    std::string text(line);
    text += '\n';
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(m_setup.answers, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            // Nobody is listening any more: nothing left to do.
            m_running = false;
            return;
        }
        done += static_cast<size_t>(n);
    }
}

void EventLoop::waitForEvents() {
    std::optional<SteadyTime> deadline;
    if (!m_pending.empty()) {
        deadline = m_pending.front().receivedAt;
    }
    if (const auto due = m_transmit.nextDue(); due && !m_serialFull) {
        deadline = deadline ? std::min(*deadline, *due) : *due;
    }
    std::array<pollfd, 3> fds{{
        {m_setup.stop, POLLIN, 0},
        {m_setup.serial, static_cast<short>(POLLIN | (m_serialFull ? POLLOUT : 0)), 0},
        {m_setup.console, POLLIN, 0},
    }};
    timespec timeout{};
    if (deadline) {
        timeout = untilDeadline(*deadline);
    }
    if (::ppoll(fds.data(), fds.size(), deadline ? &timeout : nullptr, nullptr) < 0) {
        if (errno == EINTR) {
            return;
        }
        fail("cannot wait for events");
    }
    if (fds[0].revents != 0) {
        m_running = false;
        return;
    }
    if ((fds[1].revents & POLLOUT) != 0) {
        m_serialFull = false;
    }
    if ((fds[1].revents & (POLLIN | POLLERR | POLLHUP)) != 0) {
        readSerial(std::chrono::steady_clock::now());
    }
    if (fds[2].revents != 0) {
        readConsole();
    }
}

// Serial bytes that reached the pseudo-terminal before a console command are
// dealt with first, under the settings they arrived under: a command frame
// sent while silent stays unanswered even if "silent off" follows at once.
void EventLoop::catchUp() {
    const SteadyTime now = std::chrono::steady_clock::now();
    readSerial(now);
    answerDueFrames(now);
    writeDueBytes(now);
}

void EventLoop::readSerial(SteadyTime now) {
    std::array<uint8_t, 4096> buffer{};
    for (;;) {
        const ssize_t n = ::read(m_setup.serial, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && errno == EAGAIN) {
            return;
        }
        if (n <= 0) {
            fail("cannot read the serial line");
        }
        for (ssize_t i = 0; i < n; ++i) {
            const SteadyTime arrived = m_receive.arrived(now);
            if (auto frame = m_splitter.push(buffer[static_cast<size_t>(i)])) {
                m_pending.push_back({std::move(*frame), arrived});
            }
        }
    }
}

void EventLoop::answerDueFrames(SteadyTime now) {
    while (!m_pending.empty() && m_pending.front().receivedAt <= now) {
        const PendingFrame& frame = m_pending.front();
        if (auto reply = m_responder.reply(frame.bytes, secondsSinceLocalMidnight())) {
            m_transmit.send(std::move(*reply), frame.receivedAt);
        }
        m_pending.pop_front();
    }
}

// When the client stops reading and the pseudo-terminal fills up, the rest
// waits for room; paced bytes then go out late, together.
void EventLoop::writeDueBytes(SteadyTime now) {
    while (!m_serialFull) {
        const std::span<const uint8_t> due = m_transmit.due(now);
        if (due.empty()) {
            return;
        }
        const ssize_t n = ::write(m_setup.serial, due.data(), due.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && errno == EAGAIN) {
            m_serialFull = true;
            return;
        }
        if (n < 0) {
            fail("cannot write the serial line");
        }
        m_transmit.written(static_cast<size_t>(n));
    }
}

void EventLoop::readConsole() {
    std::array<char, 4096> buffer{};
    const ssize_t n = ::read(m_setup.console, buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR) {
        return;
    }
    if (n <= 0) {
        if (!m_consoleInput.empty() && !m_skippingLongLine) {
            handleLine(m_consoleInput);
        }
        m_running = false;
        return;
    }
    m_consoleInput.append(buffer.data(), static_cast<size_t>(n));
    size_t start = 0;
    for (size_t end = m_consoleInput.find('\n'); end != std::string::npos && m_running;
         end = m_consoleInput.find('\n', start)) {
        if (!m_skippingLongLine) {
            handleLine(std::string_view(m_consoleInput).substr(start, end - start));
        }
        m_skippingLongLine = false;
        start = end + 1;
    }
    m_consoleInput.erase(0, start);
    if (m_consoleInput.size() > kMaxConsoleLine && !m_skippingLongLine) {
        say("error line too long");
        m_skippingLongLine = true;
    }
    if (m_skippingLongLine) {
        m_consoleInput.clear();
    }
}

void EventLoop::handleLine(std::string_view line) {
    catchUp();
    std::string answer = "ok";
    std::visit(Overloaded{
                   [&](const Rejected& rejected) { answer = "error " + rejected.reason; },
                   [&](const Quit&) { m_running = false; },
                   [&](const auto& change) { m_responder.apply(change); },
               },
               parseConsoleLine(line));
    say(answer);
}

}  // namespace brevanto::sim
