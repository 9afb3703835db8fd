// A main thread for tests: work handed over waits in a queue until the
// thread that plays the main thread runs it with runPending() or runFor().
// Work handed over from that thread itself runs at once.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "platform/mainthreadinvoker.h"

namespace brevanto::testing {

class QueuedInvoker final : public MainThreadInvoker {
public:
    QueuedInvoker();

    void invokeAndWait(std::function<void()> work) override;
    void post(std::function<void()> work) override;

    // Runs what is queued now; returns how many pieces of work ran.
    int runPending();
    // Serves the queue until `done` holds or the time-out passes; true if done.
    bool runUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

private:
    bool onMainThread() const { return std::this_thread::get_id() == m_mainThread; }

    std::thread::id m_mainThread;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::function<void()>> m_queue;
};

// Runs every piece of work at once on the caller's thread.
class InlineInvoker final : public MainThreadInvoker {
public:
    void invokeAndWait(std::function<void()> work) override { work(); }
    void post(std::function<void()> work) override { work(); }
};

}  // namespace brevanto::testing
