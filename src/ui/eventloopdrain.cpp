#include "ui/eventloopdrain.h"

#include <QMetaObject>

namespace brevanto {

EventLoopDrain::EventLoopDrain(QueuedInvoker& invoker) : m_invoker(invoker) {
    m_invoker.setWake([this] {
        QMetaObject::invokeMethod(
            this, [this] { m_invoker.runPending(); }, Qt::QueuedConnection);
    });
}

EventLoopDrain::~EventLoopDrain() {
    m_invoker.setWake({});
}

}  // namespace brevanto
