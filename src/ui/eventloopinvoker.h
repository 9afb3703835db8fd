// Lets the Qt event loop drain the main thread's inbox: every hand-over
// posts one queued call that runs what waits there.
#pragma once

#include <QObject>

#include "platform/queuedinvoker.h"

namespace brevanto {

// `context` lives on the main thread and outlives every thread that hands
// work over.
void drainOnEventLoop(QueuedInvoker& invoker, QObject& context);

}  // namespace brevanto
