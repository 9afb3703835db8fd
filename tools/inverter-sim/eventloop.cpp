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

// Noise on a loose line: a burst of bytes every so often, 240 a second.
constexpr auto kBabblePeriod = std::chrono::milliseconds(50);
constexpr size_t kBabbleBurst = 12;

double epochNow() {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

SteadyTime steadyAt(double epochSeconds) {
    const double left = std::max(0.0, epochSeconds - epochNow());
    return std::chrono::steady_clock::now() +
           std::chrono::duration_cast<std::chrono::steady_clock::duration>(
               std::chrono::duration<double>(left));
}

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
    : m_setup(setup),
      m_responder(setup.seed),
      m_receive(setup.paced),
      m_transmit(setup.paced),
      m_noise(static_cast<std::mt19937::result_type>(setup.seed)) {}

void EventLoop::run() {
    while (m_running) {
        runDueScript();
        const SteadyTime now = std::chrono::steady_clock::now();
        answerDueFrames(now);
        writeDueBytes(now);
        babble(now);
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
    const auto earliest = [&](SteadyTime due) {
        deadline = deadline ? std::min(*deadline, due) : due;
    };
    if (const auto due = m_transmit.nextDue(); due && !m_serialFull) {
        earliest(*due);
    }
    if (m_babbling) {
        earliest(m_nextBabble);
    }
    if (const auto due = m_setup.script.nextDue()) {
        earliest(steadyAt(*due));
    }
    // While unplugged the line is -1, which poll leaves alone.
    std::array<pollfd, 3> fds{{
        {m_setup.stop, POLLIN, 0},
        {m_setup.terminal->master(), static_cast<short>(POLLIN | (m_serialFull ? POLLOUT : 0)), 0},
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
    if (!m_setup.terminal->plugged()) {
        return;
    }
    std::array<uint8_t, 4096> buffer{};
    for (;;) {
        const ssize_t n = ::read(m_setup.terminal->master(), buffer.data(), buffer.size());
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
        advanceLedger();
        if (auto reply = m_responder.reply(frame.bytes, secondsSinceLocalMidnight())) {
            m_transmit.send(std::move(*reply), frame.receivedAt);
        }
        const ServedAnswer& served = m_responder.lastServed();
        if (served.connectProof) {
            m_ledger.connected(epochNow());
        }
        // Noise on the line spoils whatever goes out meanwhile.
        if (served.reading && !m_babbling) {
            m_ledger.sampled(epochNow(), *served.reading, served.onLine);
        }
        m_pending.pop_front();
    }
}

void EventLoop::advanceLedger() {
    m_ledger.advance(epochNow(), m_responder.plant(), m_responder.onLine());
}

void EventLoop::babble(SteadyTime now) {
    if (!m_babbling || now < m_nextBabble) {
        return;
    }
    m_nextBabble = now + kBabblePeriod;
    if (!m_setup.terminal->plugged()) {
        return;
    }
    std::array<uint8_t, kBabbleBurst> noise{};
    for (uint8_t& byte : noise) {
        byte = static_cast<uint8_t>(m_noise());
    }
    // A full line drops the noise, as a real one would overrun.
    [[maybe_unused]] const ssize_t n =
        ::write(m_setup.terminal->master(), noise.data(), noise.size());
}

// Whatever was on its way over the old line goes with it.
void EventLoop::unplug() {
    m_setup.terminal->unplug();
    m_pending.clear();
    m_splitter = FrameSplitter{};
    m_receive = ReceiveLine(m_setup.paced);
    m_transmit = TransmitLine(m_setup.paced);
    m_serialFull = false;
}

void EventLoop::runDueScript() {
    while (const auto command = m_setup.script.takeDue(epochNow())) {
        catchUp();
        [[maybe_unused]] const std::string answer = perform(*command);
    }
}

// When the client stops reading and the pseudo-terminal fills up, the rest
// waits for room; paced bytes then go out late, together.
void EventLoop::writeDueBytes(SteadyTime now) {
    while (!m_serialFull && m_setup.terminal->plugged()) {
        const std::span<const uint8_t> due = m_transmit.due(now);
        if (due.empty()) {
            return;
        }
        const ssize_t n = ::write(m_setup.terminal->master(), due.data(), due.size());
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
    say(perform(line));
}

std::string EventLoop::perform(std::string_view line) {
    advanceLedger();
    std::string answer = "ok";
    std::visit(Overloaded{
                   [&](const Rejected& rejected) { answer = "error " + rejected.reason; },
                   [&](const Quit&) { m_running = false; },
                   [&](const Report&) { answer = m_ledger.report(); },
                   [&](const SetBabble& change) {
                       m_babbling = change.on;
                       m_nextBabble = std::chrono::steady_clock::now();
                   },
                   [&](const SetPlugged& change) {
                       if (!change.on) {
                           unplug();
                       } else {
                           m_setup.terminal->plug();
                       }
                   },
                   [&](const auto& change) { m_responder.apply(change); },
               },
               parseConsoleLine(line));
    return answer;
}

}  // namespace brevanto::sim
