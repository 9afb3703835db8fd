#include "support/waituntil.h"

#include <thread>

#include "platform/queuedinvoker.h"

namespace brevanto::testing {
namespace {

using namespace std::chrono_literals;

// Short enough that a wait ends soon after `done` turns true, long enough
// that the pause costs next to nothing.
constexpr auto kPause = 10ms;
// The inbox is served in slices so `done` is looked at again even when it
// turns true on another thread without anything queued.
constexpr auto kServeSlice = 20ms;

}  // namespace

bool waitUntil(const std::function<bool()>& done, const std::function<void()>& step,
               std::chrono::milliseconds guard) {
    const auto deadline = std::chrono::steady_clock::now() + guard;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        step();
    }
    return true;
}

bool waitUntil(const std::function<bool()>& done, QueuedInvoker& inbox,
               std::chrono::milliseconds guard) {
    return waitUntil(
        done, [&] { inbox.runUntil(done, kServeSlice); }, guard);
}

void pauseBriefly() {
    std::this_thread::sleep_for(kPause);
}

}  // namespace brevanto::testing
