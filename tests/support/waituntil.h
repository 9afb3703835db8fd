// Waiting in a test for something another thread or process brings about:
// the one wait-until of the tests, with one guard against a hang.
#pragma once

#include <chrono>
#include <functional>

namespace brevanto {
class QueuedInvoker;
}

namespace brevanto::testing {

// How long a test waits for what should happen soon before it gives up; only
// a guard against a hang, never something a test waits out.
inline constexpr std::chrono::seconds kWaitGuard{30};

// Checks `done` and, while it does not hold, runs `step` (serve an inbox,
// spin an event loop, pause) until it holds or `guard` has passed. True as
// soon as `done` holds, false at the guard. `done` is called often: it
// should only look, never change anything.
bool waitUntil(const std::function<bool()>& done, const std::function<void()>& step,
               std::chrono::milliseconds guard = kWaitGuard);

// The same, serving the main thread's inbox meanwhile as the main thread
// would: work handed over from other threads runs here.
bool waitUntil(const std::function<bool()>& done, QueuedInvoker& inbox,
               std::chrono::milliseconds guard = kWaitGuard);

// A step for waits on what no inbox brings about (another process, a file):
// a short pause, so the wait does not burn a core.
void pauseBriefly();

}  // namespace brevanto::testing
