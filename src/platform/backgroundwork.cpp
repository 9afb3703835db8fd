#include "platform/backgroundwork.h"

namespace brevanto {

ThreadBackgroundWork::ThreadBackgroundWork(MainThreadInvoker& mainThread)
    : m_mainThread(mainThread), m_thread([this] { serve(); }) {}

ThreadBackgroundWork::~ThreadBackgroundWork() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
        m_queued.notify_all();
    }
    m_thread.join();
}

void ThreadBackgroundWork::run(std::function<void()> work, std::function<void()> then) {
    std::lock_guard lock(m_mutex);
    m_queue.emplace_back(std::move(work), std::move(then));
    m_queued.notify_all();
}

bool ThreadBackgroundWork::idle() const {
    std::lock_guard lock(m_mutex);
    return m_queue.empty() && !m_running;
}

void ThreadBackgroundWork::serve() {
    for (;;) {
        std::pair<std::function<void()>, std::function<void()>> next;
        {
            std::unique_lock lock(m_mutex);
            m_queued.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
            if (m_queue.empty()) {
                return;
            }
            next = std::move(m_queue.front());
            m_queue.pop_front();
            m_running = true;
        }
        next.first();
        if (next.second) {
            m_mainThread.post(std::move(next.second));
        }
        std::lock_guard lock(m_mutex);
        m_running = false;
    }
}

}  // namespace brevanto
