#include "acquisition/readplot.h"

#include <atomic>
#include <condition_variable>
#include <thread>

#include <gtest/gtest.h>

#include "support/waituntil.h"

namespace brevanto {
namespace {

using namespace std::chrono_literals;

// Gates the test changes while the thread reads them, and a way to wait for
// the thread without sleeping.
class ReadPlotTest : public ::testing::Test {
protected:
    ReadPlot::Gates gates() {
        std::lock_guard lock(m_mutex);
        return m_gates;
    }
    void setGates(ReadPlot::Gates g) {
        std::lock_guard lock(m_mutex);
        m_gates = g;
    }
    void cycle() {
        std::lock_guard lock(m_mutex);
        ++m_cycles;
        m_changed.notify_all();
    }
    int cycles() {
        std::lock_guard lock(m_mutex);
        return m_cycles;
    }
    // True once the thread has finished `count` cycles and sits suspended.
    bool waitUntilSuspendedAfter(ReadPlot& thread, int count) {
        return testing::waitUntil([&] { return thread.LoopCount() == count && thread.Suspended(); },
                                  [this] {
                                      std::unique_lock lock(m_mutex);
                                      m_changed.wait_for(lock, 1ms);
                                  });
    }

    std::mutex m_mutex;
    std::condition_variable m_changed;
    ReadPlot::Gates m_gates{false, false, 0};
    int m_cycles = 0;
};

TEST_F(ReadPlotTest, StartsSuspendedAndRunsOnceResumed) {
    setGates({false, true, 0});  // the link goes down after the first cycle
    ReadPlot thread([this] { cycle(); }, [this] { return gates(); });
    EXPECT_TRUE(thread.Suspended());
    EXPECT_EQ(thread.LoopCount(), 0);
    thread.Resume();
    ASSERT_TRUE(waitUntilSuspendedAfter(thread, 1));
    EXPECT_EQ(cycles(), 1);
}

TEST_F(ReadPlotTest, OnRequestItRunsExactlyOneCyclePerWakeUp) {
    setGates({true, false, 0});
    ReadPlot thread([this] { cycle(); }, [this] { return gates(); });
    for (int wakeUp = 1; wakeUp <= 3; ++wakeUp) {
        thread.Resume();
        ASSERT_TRUE(waitUntilSuspendedAfter(thread, wakeUp));
    }
    EXPECT_EQ(cycles(), 3);
    setGates({false, false, 0});  // with the gates open a resumed thread keeps cycling
    thread.Resume();
    testing::waitUntil([&] { return thread.LoopCount() >= 10; }, [] { std::this_thread::yield(); });
    EXPECT_GE(thread.LoopCount(), 10);
}

// A thread can be preempted right after a look at its gates. These gates
// linger a moment after every look that finds the link down, and the connect
// (StopReading cleared, then Resume) lands inside the first, second or third
// such look of a round, wherever the thread decides to suspend. A thread that
// decides and suspends under one lock sees the connect's Resume after it has
// parked; one that suspends after an unguarded look loses it and stays parked.
TEST_F(ReadPlotTest, AConnectThatLandsWhileTheThreadLooksAtItsGatesIsNeverLost) {
    std::atomic<bool> stopReading{false};
    std::atomic<int> closedLooks{0};
    std::atomic<int> connects{0};
    auto lingeringGates = [&] {
        const ReadPlot::Gates seen{false, stopReading.load(), 0};
        if (seen.stopReading) {
            const int before = connects.load();
            ++closedLooks;
            testing::waitUntil([&] { return connects.load() != before; },
                               [] { std::this_thread::yield(); }, 10ms);
        }
        return seen;
    };
    ReadPlot thread([this] { cycle(); }, lingeringGates);
    thread.Resume();
    for (int pair = 0; pair < 30; ++pair) {
        const int looks = closedLooks.load();
        const int landInLook = looks + 1 + pair % 3;
        stopReading = true;  // the disconnect
        ASSERT_TRUE(testing::waitUntil(
            [&] { return closedLooks.load() >= landInLook || thread.Suspended(); },
            [] { std::this_thread::yield(); }));
        stopReading = false;  // the connect
        thread.Resume();
        ++connects;
        const int cycles = thread.LoopCount();
        ASSERT_TRUE(testing::waitUntil([&] { return thread.LoopCount() >= cycles + 2; },
                                       [] { std::this_thread::yield(); }))
            << "parked after pair " << pair;
    }
}

TEST_F(ReadPlotTest, TerminationCutsALongSleepShort) {
    setGates({false, false, 3600 * 1000});  // the hourly interval
    auto thread = std::make_unique<ReadPlot>([this] { cycle(); }, [this] { return gates(); });
    thread->Resume();
    while (thread->LoopCount() < 1) {
        std::this_thread::yield();
    }
    const auto start = std::chrono::steady_clock::now();
    thread->Terminate();
    thread->WaitFor();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 60s);
    EXPECT_EQ(cycles(), 1);
}

TEST_F(ReadPlotTest, ASuspendedThreadEndsWithoutAnotherCycle) {
    setGates({false, true, 0});
    {
        ReadPlot thread([this] { cycle(); }, [this] { return gates(); });
        thread.Resume();
        ASSERT_TRUE(waitUntilSuspendedAfter(thread, 1));
    }  // the destructor terminates and waits
    EXPECT_EQ(cycles(), 1);
    ReadPlot neverStarted([this] { cycle(); }, [this] { return gates(); });
    neverStarted.Terminate();
    neverStarted.WaitFor();
    EXPECT_EQ(neverStarted.LoopCount(), 0);
}

}  // namespace
}  // namespace brevanto
