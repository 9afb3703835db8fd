// Lets the Qt event loop drain the main thread's inbox: every hand-over
// posts one queued call to this object, which runs what waits there. A call
// still queued when the object goes is dropped by Qt, so the inbox may end
// before the event loop does.
#pragma once

#include <QObject>

#include "platform/queuedinvoker.h"

namespace brevanto {

class EventLoopDrain : public QObject {
    Q_OBJECT

public:
    // Lives on the main thread, no longer than `invoker`, and goes only
    // once no other thread hands work over any more.
    explicit EventLoopDrain(QueuedInvoker& invoker);
    ~EventLoopDrain() override;

private:
    QueuedInvoker& m_invoker;
};

}  // namespace brevanto
