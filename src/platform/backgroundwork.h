// Work that must not hold the main thread (a connect's port search, a
// "Check" on a silent line) runs here, one piece after another in the order
// given; what follows it (`then`) runs on the main thread afterwards.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/mainthreadinvoker.h"

namespace brevanto {

class BackgroundWork {
public:
    virtual ~BackgroundWork() = default;
    virtual void run(std::function<void()> work, std::function<void()> then) = 0;
};

// Runs both at once on the caller's thread: for tests and for callers that
// may wait.
class InlineBackgroundWork final : public BackgroundWork {
public:
    void run(std::function<void()> work, std::function<void()> then) override {
        work();
        if (then) {
            then();
        }
    }
};

// One worker thread with a queue; `then` is posted to the main thread.
class ThreadBackgroundWork final : public BackgroundWork {
public:
    explicit ThreadBackgroundWork(MainThreadInvoker& mainThread);
    // Finishes the queued work, then ends the thread.
    ~ThreadBackgroundWork() override;
    ThreadBackgroundWork(const ThreadBackgroundWork&) = delete;
    ThreadBackgroundWork& operator=(const ThreadBackgroundWork&) = delete;

    void run(std::function<void()> work, std::function<void()> then) override;
    // Nothing queued and nothing running. Whoever must serve the work's
    // hand-overs (a message box it shows) while it ends watches this.
    bool idle() const;

private:
    void serve();

    MainThreadInvoker& m_mainThread;
    mutable std::mutex m_mutex;
    std::condition_variable m_queued;
    std::deque<std::pair<std::function<void()>, std::function<void()>>> m_queue;
    bool m_stopping = false;
    bool m_running = false;
    std::thread m_thread;
};

}  // namespace brevanto
