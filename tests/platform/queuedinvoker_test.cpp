#include "platform/queuedinvoker.h"

#include <atomic>
#include <stdexcept>
#include <thread>

#include <gtest/gtest.h>

namespace brevanto {
namespace {

using namespace std::chrono_literals;

TEST(QueuedInvoker, WorkFromAnotherThreadRunsOnTheMainThreadAndTheCallerWaits) {
    QueuedInvoker invoker;
    const auto mainThread = std::this_thread::get_id();
    std::thread::id ranOn;
    std::atomic<bool> returned{false};
    int value = 0;

    std::thread worker([&] {
        invoker.invokeAndWait([&] {
            ranOn = std::this_thread::get_id();
            value = 42;
        });
        returned = true;
    });
    ASSERT_TRUE(invoker.runUntil([&] { return returned.load(); }, 10s));
    worker.join();
    EXPECT_EQ(ranOn, mainThread);
    EXPECT_EQ(value, 42);
}

TEST(QueuedInvoker, WorkFromTheMainThreadRunsAtOnce) {
    QueuedInvoker invoker;
    int value = 0;
    invoker.invokeAndWait([&] { value = 1; });
    EXPECT_EQ(value, 1);
    invoker.post([&] { value = 2; });
    EXPECT_EQ(value, 1);
    EXPECT_EQ(invoker.runPending(), 1);
    EXPECT_EQ(value, 2);
}

// The window's event loop learns of new work through the wake, and a fault in
// handed-over work must not leave the handing thread waiting for ever.
TEST(QueuedInvoker, WakesForEachHandOverAndAFailingWorkStillReleasesItsCaller) {
    QueuedInvoker invoker;
    std::atomic<int> wakes{0};
    invoker.setWake([&] { ++wakes; });
    std::atomic<bool> returned{false};
    std::thread worker([&] {
        invoker.invokeAndWait([] { throw std::runtime_error("broken"); });
        returned = true;
    });
    ASSERT_TRUE(invoker.runUntil([&] { return returned.load(); }, 10s));
    worker.join();
    invoker.post([] {});
    EXPECT_EQ(wakes.load(), 2);
}

}  // namespace
}  // namespace brevanto
