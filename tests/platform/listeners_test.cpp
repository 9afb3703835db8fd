// Listener lists and the coalesced refresh: nobody is told after it has
// gone, whichever way it went.
#include "platform/listeners.h"

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/coalescedpost.h"
#include "platform/queuedinvoker.h"

namespace brevanto {
namespace {

TEST(Listeners, AreToldInOrderForAsLongAsTheirSubscriptionLives) {
    Listeners<int> listeners;
    std::vector<std::string> told;
    Subscription first =
        listeners.add([&](int v) { told.push_back("first " + std::to_string(v)); });
    std::optional<Subscription> second =
        listeners.add([&](int v) { told.push_back("second " + std::to_string(v)); });
    listeners.notify(1);
    second.reset();
    listeners.notify(2);
    Subscription moved = std::move(first);
    listeners.notify(3);
    moved.cancel();
    listeners.notify(4);
    EXPECT_EQ(told, (std::vector<std::string>{"first 1", "second 1", "first 2", "first 3"}));
}

TEST(Listeners, OneThatCancelsAnotherWhileToldKeepsItFromBeingTold) {
    Listeners<> listeners;
    std::vector<std::string> told;
    Subscription later;
    Subscription first = listeners.add([&] {
        told.push_back("first");
        later.cancel();
    });
    later = listeners.add([&] { told.push_back("later"); });
    listeners.notify();
    listeners.notify();
    EXPECT_EQ(told, (std::vector<std::string>{"first", "first"}));
}

TEST(Listeners, ASubscriptionThatOutlivesItsListCancelsNothing) {
    Subscription kept;
    {
        Listeners<> listeners;
        kept = listeners.add([] {});
    }
    kept.cancel();
    SUCCEED() << "no list was touched after it had gone";
}

TEST(CoalescedPost, ManyAsksRunOnceAndARunQueuedForOneThatWentDoesNothing) {
    QueuedInvoker mainThread;
    int runs = 0;
    {
        CoalescedPost refresh(mainThread, [&] { ++runs; });
        refresh.request();
        refresh.request();
        EXPECT_EQ(mainThread.runPending(), 1);
        EXPECT_EQ(runs, 1);
        refresh.request();
    }
    EXPECT_EQ(mainThread.runPending(), 1);
    EXPECT_EQ(runs, 1);
}

}  // namespace
}  // namespace brevanto
