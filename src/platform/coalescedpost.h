// Work that any thread may ask for many times and the main thread runs
// once for all of them: a refresh after a burst of changes. Asking again
// while a run is already queued adds nothing.
#pragma once

#include <atomic>
#include <functional>
#include <utility>

#include "platform/mainthreadinvoker.h"

namespace brevanto {

class CoalescedPost {
public:
    // Must outlive every run it has queued on `mainThread`.
    CoalescedPost(MainThreadInvoker& mainThread, std::function<void()> work)
        : m_mainThread(mainThread), m_work(std::move(work)) {}
    CoalescedPost(const CoalescedPost&) = delete;
    CoalescedPost& operator=(const CoalescedPost&) = delete;

    // Safe on any thread.
    void request() {
        if (!m_queued.exchange(true)) {
            m_mainThread.post([this] {
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
};

}  // namespace brevanto
