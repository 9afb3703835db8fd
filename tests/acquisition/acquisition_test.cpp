// The acquisition unit in test mode, with this thread as the main thread:
// who hears of a finished cycle, what a web request may wake, and the stop.
#include "acquisition/acquisition.h"

#include <thread>

#include <gtest/gtest.h>

#include "platform/testing/manualclock.h"
#include "platform/testing/recordingeventsink.h"
#include "platform/testing/recordingprompts.h"

namespace brevanto {
namespace {

using namespace std::chrono_literals;

class AcquisitionTest : public ::testing::Test {
protected:
    AcquisitionTest() {
        linkState.setTestChecked(true);
        linkState.setPhase(LinkPhase::Running);
    }

    bool serveUntil(const std::function<bool()>& done) { return invoker.runUntil(done, 30s); }

    testing::RecordingPrompts prompts;
    testing::RecordingEventSink events;
    testing::ManualClock clock;
    QueuedInvoker invoker;
    DateTimeFormat format{"%d.%m.%Y", "%H:%M:%S"};
    Services services{clock, format, prompts, invoker, events, {}};
    LinkState linkState;
    InverterLink link{prompts, events, [this] { return linkState.connected(); },
                      [] { return false; }};
    CoreTimer measuring{0};
    Acquisition acquisition{services, link, linkState, measuring};
};

TEST_F(AcquisitionTest, EveryFinishedCycleIsToldOnTheMainThreadUntilTheSubscriptionGoes) {
    acquisition.configure({0, " (Refresh = 3 sec.)"});
    std::vector<std::string> stamps;
    auto subscription = acquisition.addReadingListener([&](const InverterReadings& readings) {
        EXPECT_TRUE(invoker.onMainThread());
        stamps.push_back(readings.MeasTimeText);
    });
    acquisition.setStopReading(false);
    acquisition.startReading();
    ASSERT_TRUE(serveUntil([&] { return stamps.size() >= 2; }));
    EXPECT_EQ(stamps[0], "07.03.2015 - 14:02:11 (Refresh = 3 sec.)");

    subscription.cancel();
    const std::size_t told = stamps.size();
    const int cycles = acquisition.loopCount();
    ASSERT_TRUE(serveUntil([&] { return acquisition.loopCount() >= cycles + 2; }));
    EXPECT_EQ(stamps.size(), told);
}

TEST_F(AcquisitionTest, TwoDaysWithoutAGoodReadingCountFiveMinutesOfEnergy) {
    std::vector<int> steps;
    auto subscription = acquisition.addReadingListener([&](const InverterReadings& readings) {
        steps.push_back(readings.ElapsedSeconds);
        if (steps.size() == 1) {
            clock.advance(48h);
        }
    });
    acquisition.setStopReading(false);
    acquisition.startReading();
    ASSERT_TRUE(serveUntil([&] { return steps.size() >= 2; }));
    EXPECT_EQ(steps[1], 300);
}

TEST_F(AcquisitionTest, AWebRequestBuysOneCycleOnlyInTheRequestModeWithTheLinkUp) {
    acquisition.setOnRequestOnly(true);
    acquisition.wakeForWeb();
    EXPECT_TRUE(acquisition.suspended()) << "the link is down: nothing to read";

    acquisition.setStopReading(false);
    acquisition.startReading();
    ASSERT_TRUE(
        serveUntil([&] { return acquisition.loopCount() == 1 && acquisition.suspended(); }));
    acquisition.wakeForWeb();
    ASSERT_TRUE(
        serveUntil([&] { return acquisition.loopCount() == 2 && acquisition.suspended(); }));

    acquisition.setOnRequestOnly(false);
    acquisition.wakeForWeb();
    EXPECT_TRUE(acquisition.suspended()) << "reading on by itself is the watchdog's business";
}

// A disconnect followed at once by a connect, as test mode does them, lands
// anywhere in the thread's loop: also between its look at the gates and its
// suspending itself. Every connect must be followed by finished cycles.
TEST_F(AcquisitionTest, AConnectRightAfterADisconnectAlwaysGetsTheThreadReading) {
    acquisition.setStopReading(false);
    acquisition.startReading();
    for (int pair = 0; pair < 300; ++pair) {
        acquisition.setStopReading(true);  // the disconnect
        for (int i = 0; i < pair % 4; ++i) {
            std::this_thread::yield();
        }
        acquisition.setStopReading(false);  // the connect
        acquisition.startReading();
        const int cycles = acquisition.loopCount();
        ASSERT_TRUE(serveUntil([&] { return acquisition.loopCount() >= cycles + 2; }))
            << "parked after pair " << pair;
    }
}

// The energy of the first reading after a connect covers the time since the
// connect, not the hour the link was down.
TEST_F(AcquisitionTest, AConnectStartsTheTimeBaseAfresh) {
    std::vector<int> elapsed;
    auto subscription = acquisition.addReadingListener(
        [&](const InverterReadings& readings) { elapsed.push_back(readings.ElapsedSeconds); });
    acquisition.setStopReading(false);
    acquisition.startReading();
    ASSERT_TRUE(serveUntil([&] { return acquisition.loopCount() >= 1; }));
    acquisition.setStopReading(true);
    ASSERT_TRUE(serveUntil([&] { return acquisition.suspended(); }));
    clock.advance(3600s);

    const std::size_t before = elapsed.size();
    acquisition.setStopReading(false);
    acquisition.startReading();
    ASSERT_TRUE(serveUntil([&] { return elapsed.size() > before; }));
    EXPECT_EQ(elapsed[before], 0);
}

TEST_F(AcquisitionTest, StopEndsARunningThreadOnceAndServesItsLastHandOvers) {
    acquisition.setStopReading(false);
    acquisition.startReading();
    ASSERT_TRUE(serveUntil([&] { return acquisition.loopCount() >= 1; }));
    acquisition.stop();
    const int cycles = acquisition.loopCount();
    acquisition.stop();
    acquisition.startReading();
    EXPECT_EQ(invoker.runPending(), 0);
    EXPECT_EQ(acquisition.loopCount(), cycles);
}

}  // namespace
}  // namespace brevanto
