// Authorised timer forms on their way to the main thread. However fast they
// come, at most one job waits in the main thread's inbox: it applies every
// form that arrived meanwhile, in the order they came, so that a flood of
// forms neither starves the main thread nor writes the settings file once
// per form.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/mainthreadinvoker.h"
#include "web/timerform.h"

namespace brevanto {

class PendingTimerForms {
public:
    using Apply = std::function<void(const std::vector<TimerFormOutcome>&)>;

    // `apply` runs on the main thread, possibly after this object has gone:
    // it must not refer to it.
    PendingTimerForms(MainThreadInvoker& mainThread, Apply apply);

    // Safe on any thread; never waits for the main thread.
    void add(const TimerFormOutcome& form);

private:
    struct Queue {
        std::mutex mutex;
        std::vector<TimerFormOutcome> forms;
        bool jobQueued = false;
    };

    static void runJob(Queue& queue, const Apply& apply);

    MainThreadInvoker& m_mainThread;
    Apply m_apply;
    std::shared_ptr<Queue> m_queue = std::make_shared<Queue>();
};

}  // namespace brevanto
