// The main thread's inbox: work handed over from other threads waits in a
// queue until the main thread runs it. The window layer asks to be woken
// (setWake) so its event loop drains the queue; tests and the close handler
// serve it directly with runPending() and runUntil(). Work handed over from
// the main thread itself runs at once.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/mainthreadinvoker.h"

namespace brevanto {

class QueuedInvoker final : public MainThreadInvoker {
public:
    // The constructing thread is the main thread.
    QueuedInvoker();

    void invokeAndWait(std::function<void()> work) override;
    void post(std::function<void()> work) override;

    // Called on the handing thread after each piece of work is queued, outside
    // the lock. Set it before other threads start handing work over.
    void setWake(std::function<void()> wake) { m_wake = std::move(wake); }

    // Runs what is queued now; returns how many pieces of work ran.
    int runPending();
    // Serves the queue until `done` holds or the time-out passes; true if done.
    bool runUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);
    // Serves the queue until `done`, however long that takes: the take-down
    // of a thread that may still hand work over. Every half minute it says
    // on standard error what it is `waitingFor`, so a hang is seen.
    void serveUntil(const std::function<bool()>& done, const char* waitingFor);
    bool onMainThread() const { return std::this_thread::get_id() == m_mainThread; }

private:
    void enqueue(std::function<void()> work);

    std::thread::id m_mainThread;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::function<void()>> m_queue;
    std::function<void()> m_wake;
};

}  // namespace brevanto
