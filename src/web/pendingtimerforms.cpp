#include "web/pendingtimerforms.h"

#include <utility>

namespace brevanto {

PendingTimerForms::PendingTimerForms(MainThreadInvoker& mainThread, Apply apply)
    : m_mainThread(mainThread), m_apply(std::move(apply)) {}

void PendingTimerForms::add(const TimerFormOutcome& form) {
    {
        std::lock_guard lock(m_queue->mutex);
        m_queue->forms.push_back(form);
        if (std::exchange(m_queue->jobQueued, true)) {
            return;
        }
    }
    m_mainThread.post([queue = m_queue, apply = m_apply] { runJob(*queue, apply); });
}

void PendingTimerForms::runJob(Queue& queue, const Apply& apply) {
    std::vector<TimerFormOutcome> forms;
    {
        std::lock_guard lock(queue.mutex);
        forms.swap(queue.forms);
        // Cleared with the queue taken: a form that comes during the run
        // queues the next job.
        queue.jobQueued = false;
    }
    apply(forms);
}

}  // namespace brevanto
