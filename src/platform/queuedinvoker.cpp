#include "platform/queuedinvoker.h"

#include <cstdio>

#include "platform/faultreport.h"

namespace brevanto {

QueuedInvoker::QueuedInvoker() : m_mainThread(std::this_thread::get_id()) {}

void QueuedInvoker::invokeAndWait(std::function<void()> work) {
    if (onMainThread()) {
        work();
        return;
    }
    bool finished = false;
    enqueue([&work, &finished, this] {
        const auto markFinished = [&finished, this] {
            std::lock_guard done(m_mutex);
            finished = true;
        };
        try {
            work();
        } catch (...) {
            markFinished();
            throw;
        }
        markFinished();
    });
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&finished] { return finished; });
}

void QueuedInvoker::post(std::function<void()> work) {
    enqueue(std::move(work));
}

void QueuedInvoker::enqueue(std::function<void()> work) {
    {
        std::lock_guard lock(m_mutex);
        m_queue.push_back(std::move(work));
        m_changed.notify_all();
    }
    if (m_wake) {
        m_wake();
    }
}

int QueuedInvoker::runPending() {
    std::deque<std::function<void()>> batch;
    {
        std::lock_guard lock(m_mutex);
        batch.swap(m_queue);
    }
    for (auto& work : batch) {
        // A fault ends that work only, as in any other handler of the main thread.
        runReportingFaults("main-thread work", work);
    }
    if (!batch.empty()) {
        std::lock_guard lock(m_mutex);
        m_changed.notify_all();
    }
    return static_cast<int>(batch.size());
}

bool QueuedInvoker::runUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    // `done` may turn true through another thread without anything queued,
    // so the queue is watched in short slices rather than until the deadline.
    constexpr auto kSlice = std::chrono::milliseconds(5);
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait_for(lock, kSlice, [this] { return !m_queue.empty(); });
        }
        runPending();
    }
    return true;
}

void QueuedInvoker::serveUntil(const std::function<bool()>& done, const char* waitingFor) {
    // Long enough for a cycle's two exchanges on the slowest time-outs: only
    // a wait longer than this is worth a word.
    constexpr auto kReportInterval = std::chrono::seconds(30);
    while (!runUntil(done, kReportInterval)) {
        std::fprintf(stderr, "brevanto: still waiting for %s to end\n", waitingFor);
    }
}

}  // namespace brevanto
