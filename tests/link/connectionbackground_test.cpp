// A connect and a "Check" with the line asked on a worker thread, as the
// window runs them, while this thread serves as the main thread.
#include <atomic>
#include <thread>

#include <gtest/gtest.h>

#include "connectionfixture.h"
#include "platform/backgroundwork.h"
#include "platform/queuedinvoker.h"
#include "support/waituntil.h"

namespace brevanto::testing {
namespace {

using Lines = std::vector<std::string>;

class BackgroundConnectTest : public ConnectionFixture {
protected:
    PortMap ports() const {
        std::map<int, std::string> paths;
        for (int n = PortMap::kFirstPort; n <= PortMap::kLastPort; ++n) {
            paths[n] = portPath(n);
        }
        return PortMap(std::move(paths));
    }

    QueuedInvoker mainThread;
    ThreadBackgroundWork background{mainThread};
    ConnectionManager threaded{link,
                               linkState,
                               events,
                               [this] { return ports(); },
                               [this] { return settings; },
                               ConnectionTimers{timer, timer1, timer3, timerConnect, timerOff},
                               ConnectionHooks{.startReading = [this] { ++readingStarts; }},
                               &background,
                               &mainThread};
};

TEST_F(BackgroundConnectTest, TheSearchRunsOffTheMainThreadWithItsLinesInOrder) {
    placeSimulator(3);
    std::atomic<bool> done{false};
    threaded.ConnectInverter([&done] { done = true; });
    EXPECT_EQ(linkState.labelCaption(), "Connecting...");
    threaded.ConnectInverter();  // a second click while searching is ignored
    ASSERT_TRUE(waitUntil([&] { return done.load(); }, mainThread));

    Lines expected = notFoundLines(1, 2);
    expected.insert(expected.end(), {"Trying port COM3...", "Inverter connected.",
                                     "Connected to " + portPath(3) + " port and Inverter."});
    EXPECT_EQ(takeEvents(), expected);
    EXPECT_EQ(linkState.labelCaption(), "Connected");
    EXPECT_TRUE(timer.enabled());
    EXPECT_EQ(readingStarts, 1);
}

TEST_F(BackgroundConnectTest, CheckAnswersOnTheMainThreadAfterTheExchange) {
    SimProcess& sim = placeSimulator(3);
    settings.comPort = "COM3";
    settings.autoSearch = false;
    settings.comPortIndex = 3;
    std::atomic<bool> done{false};
    threaded.ConnectInverter([&done] { done = true; });
    ASSERT_TRUE(waitUntil([&] { return done.load(); }, mainThread));
    ASSERT_TRUE(linkState.connected());
    events.clear();

    ASSERT_EQ(sim.command("silent on"), "ok");
    threaded.Button1Click();
    ASSERT_TRUE(waitUntil([&] { return events.messages().size() == 2; }, mainThread));
    EXPECT_EQ(takeEvents(),
              (Lines{"Inverter Not connected.", "Inverter NOT connected on port COM3"}));
}

// The reading thread meets the hang-up; the main thread drops the link.
TEST_F(BackgroundConnectTest, ALinkLostOnTheReadingThreadIsDroppedOnTheMainThread) {
    settings.autoSearch = false;
    settings.comPortIndex = 3;
    placeSimulator(3);
    std::atomic<bool> done{false};
    threaded.ConnectInverter([&done] { done = true; });
    ASSERT_TRUE(waitUntil([&] { return done.load(); }, mainThread));
    ASSERT_TRUE(linkState.connected());
    events.clear();

    unplug(3);
    std::thread reading([this] { link.query(InverterCommand::QPIGS, true); });
    reading.join();
    EXPECT_FALSE(link.isOpen()) << "the dead descriptor is closed at once";
    EXPECT_TRUE(linkState.connected()) << "the link state is the main thread's";
    EXPECT_EQ(mainThread.runPending(), 1);
    EXPECT_EQ(takeEvents(), Lines{"Connection to " + portPath(3) + " lost: Input/output error."});
    EXPECT_EQ(linkState.phase(), LinkPhase::Failed);
}

}  // namespace
}  // namespace brevanto::testing
