// Work that any thread may ask for many times and the main thread runs
// once for all of them: a refresh after a burst of changes. Asking again
// while a run is already queued adds nothing.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <utility>

#include "platform/mainthreadinvoker.h"

namespace brevanto {

class CoalescedPost {
public:
    // A run still queued when this goes does nothing: the window that owns
    // it may close before the inbox is next served. Destroyed on the main
    // thread, once nothing asks any more.
    CoalescedPost(MainThreadInvoker& mainThread, std::function<void()> work)
        : m_mainThread(mainThread), m_work(std::move(work)) {}
    ~CoalescedPost() { *m_alive = false; }
    CoalescedPost(const CoalescedPost&) = delete;
    CoalescedPost& operator=(const CoalescedPost&) = delete;

    // Safe on any thread.
    void request() {
        if (!m_queued.exchange(true)) {
            m_mainThread.post([this, alive = m_alive] {
                if (!*alive) {
                    return;
                }
                // Cleared first: a change during the run asks for another.
                m_queued = false;
                m_work();
            });
        }
    }

private:
    MainThreadInvoker& m_mainThread;
    std::function<void()> m_work;
    std::atomic<bool> m_queued{false};
    // Read and cleared on the main thread only.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

}  // namespace brevanto
