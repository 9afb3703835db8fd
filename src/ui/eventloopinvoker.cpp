#include "ui/eventloopinvoker.h"

#include <QMetaObject>

namespace brevanto {

void drainOnEventLoop(QueuedInvoker& invoker, QObject& context) {
    invoker.setWake([&invoker, &context] {
        QMetaObject::invokeMethod(
            &context, [&invoker] { invoker.runPending(); }, Qt::QueuedConnection);
    });
}

}  // namespace brevanto
