// The one wait-until of the tests: it ends as soon as the condition holds,
// and at the guard when it never does, serving the inbox meanwhile.
#include "support/waituntil.h"

#include <atomic>
#include <thread>

#include <gtest/gtest.h>

#include "platform/queuedinvoker.h"

namespace brevanto::testing {
namespace {

using namespace std::chrono_literals;

TEST(WaitUntilTest, TakesNoStepWhenDoneHoldsAlready) {
    int steps = 0;
    EXPECT_TRUE(waitUntil([] { return true; }, [&] { ++steps; }));
    EXPECT_EQ(steps, 0);
}

TEST(WaitUntilTest, ReturnsTrueAsSoonAsDoneHolds) {
    int steps = 0;
    EXPECT_TRUE(waitUntil([&] { return steps == 3; }, [&] { ++steps; }));
    EXPECT_EQ(steps, 3);
}

TEST(WaitUntilTest, ReturnsFalseAtTheGuard) {
    const auto started = std::chrono::steady_clock::now();
    int steps = 0;
    EXPECT_FALSE(waitUntil([] { return false; },
                           [&] {
                               ++steps;
                               pauseBriefly();
                           },
                           50ms));
    EXPECT_GE(std::chrono::steady_clock::now() - started, 50ms);
    EXPECT_GT(steps, 0);
}

TEST(WaitUntilTest, ServesTheInboxOnThisThreadUntilDone) {
    QueuedInvoker inbox;
    std::atomic<bool> ranHere{false};
    std::thread other([&] { inbox.post([&] { ranHere = inbox.onMainThread(); }); });
    EXPECT_TRUE(waitUntil([&] { return ranHere.load(); }, inbox));
    other.join();
}

TEST(WaitUntilTest, ServingTheInboxStopsAtTheGuard) {
    QueuedInvoker inbox;
    EXPECT_FALSE(waitUntil([] { return false; }, inbox, 50ms));
}

}  // namespace
}  // namespace brevanto::testing
