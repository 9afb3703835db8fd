#include "acquisition/readplot.h"

#include <chrono>

#include "platform/faultreport.h"

namespace brevanto {

ReadPlot::ReadPlot(std::function<void()> cycle, std::function<Gates()> gates)
    : m_cycle(std::move(cycle)), m_gates(std::move(gates)), m_thread([this] { Execute(); }) {}

ReadPlot::~ReadPlot() {
    Terminate();
    WaitFor();
}

void ReadPlot::Resume() {
    std::lock_guard lock(m_mutex);
    m_suspended = false;
    m_wake.notify_all();
}

bool ReadPlot::Suspended() const {
    std::lock_guard lock(m_mutex);
    return m_suspended;
}

void ReadPlot::Terminate() {
    std::lock_guard lock(m_mutex);
    m_terminated = true;
    m_wake.notify_all();
}

bool ReadPlot::Terminated() const {
    std::lock_guard lock(m_mutex);
    return m_terminated;
}

void ReadPlot::WaitFor() {
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

int ReadPlot::LoopCount() const {
    std::lock_guard lock(m_mutex);
    return m_loopCount;
}

// Suspends while `asked` says so of the gates. The gates are read and the
// thread parked under one lock, so a Resume() that comes after they were read
// takes this lock after the wait has begun, and wakes it: it cannot be lost.
bool ReadPlot::suspendWhile(std::unique_lock<std::mutex>& lock, bool (*asked)(const Gates&)) {
    if (m_terminated || !asked(m_gates())) {
        return !m_terminated;
    }
    m_suspended = true;
    m_wake.wait(lock, [this] { return !m_suspended || m_terminated; });
    return !m_terminated;
}

// After the sleep: one cycle per wake-up in the ReqByWeb mode, then none at
// all while the link is down.
bool ReadPlot::pauseAsTheGatesSay() {
    std::unique_lock lock(m_mutex);
    return suspendWhile(lock, [](const Gates& g) { return g.reqByWeb; }) &&
           suspendWhile(lock, [](const Gates& g) { return g.stopReading; });
}

bool ReadPlot::sleepFor(int intervalMs) {
    std::unique_lock lock(m_mutex);
    return !m_wake.wait_for(lock, std::chrono::milliseconds(intervalMs),
                            [this] { return m_terminated; });
}

bool ReadPlot::Finished() const {
    std::lock_guard lock(m_mutex);
    return m_finished;
}

void ReadPlot::Execute() {
    runCycles();
    std::lock_guard lock(m_mutex);
    m_finished = true;
}

// A fault in one cycle must not take the program down with the thread; the
// next cycle tries again, and the watchdog sees cycles still finishing.
void ReadPlot::runCycle() {
    runReportingFaults("reading cycle", m_cycle);
}

void ReadPlot::runCycles() {
    {
        // Created suspended: the first Resume() starts the first cycle.
        std::unique_lock lock(m_mutex);
        m_wake.wait(lock, [this] { return !m_suspended || m_terminated; });
        if (m_terminated) {
            return;
        }
    }
    for (;;) {
        runCycle();
        {
            std::lock_guard lock(m_mutex);
            ++m_loopCount;
            if (m_terminated) {
                return;
            }
        }
        if (!sleepFor(m_gates().intervalMs)) {
            return;
        }
        if (!pauseAsTheGatesSay()) {
            return;
        }
    }
}

}  // namespace brevanto
