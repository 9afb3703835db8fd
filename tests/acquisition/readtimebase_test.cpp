#include "acquisition/readtimebase.h"

#include <gtest/gtest.h>

#include "platform/testing/manualclock.h"

namespace brevanto {
namespace {

using namespace std::chrono_literals;

TEST(ReadTimeBase, CountsTheWholeSecondsSinceThePreviousGoodRead) {
    testing::ManualClock clock;
    ReadTimeBase base(clock);
    base.restart();
    clock.advance(5s);
    EXPECT_EQ(base.successfulRead(), 5);
    clock.advance(12s);  // two failed reads in between are covered by this step
    EXPECT_EQ(base.successfulRead(), 12);
}

TEST(ReadTimeBase, CarriesTheFractionSoNothingIsLostOverADay) {
    testing::ManualClock clock;
    ReadTimeBase base(clock);
    base.restart();
    long long counted = 0;
    constexpr int kCycles = 86400 * 1000 / 1770;  // a 1 s interval plus 770 ms of exchanges
    for (int i = 0; i < kCycles; ++i) {
        clock.advance(1770ms);
        counted += base.successfulRead();
    }
    EXPECT_NEAR(static_cast<double>(counted), kCycles * 1.77, 1.0);
}

TEST(ReadTimeBase, MidnightAndClockChangesAddNoPhantomTime) {
    testing::ManualClock clock({{2015, 3, 28}, {23, 59, 58, 0}});
    ReadTimeBase base(clock);
    base.restart();
    clock.advance(5s);  // across midnight
    EXPECT_EQ(base.successfulRead(), 5);
    clock.set({{2015, 3, 29}, {3, 0, 3, 0}});  // daylight saving moves the wall clock
    clock.advance(5s);
    EXPECT_EQ(base.successfulRead(), 5);
    clock.set({{2015, 3, 29}, {1, 0, 0, 0}});  // and a correction sets it back
    clock.advance(5s);
    EXPECT_EQ(base.successfulRead(), 5);
}

TEST(ReadTimeBase, AStepAfterALongSilenceCoversAFewIntervalsAndNoMore) {
    testing::ManualClock clock;
    ReadTimeBase base(clock);
    base.restart();
    clock.advance(48h);
    EXPECT_EQ(base.successfulRead(), 300) << "five minutes at a one-second interval";
    clock.advance(5s);
    EXPECT_EQ(base.successfulRead(), 5) << "the dropped gap is not counted later";

    base.setLongestStep(ReadTimeBase::longestStepFor(10min));
    clock.advance(2h);
    EXPECT_EQ(base.successfulRead(), 1800) << "three intervals of ten minutes";
    clock.advance(300s);
    EXPECT_EQ(base.successfulRead(), 300) << "a step as long as the cap is whole";
}

TEST(ReadTimeBase, AConnectOrTheDayChangeStartsAfresh) {
    testing::ManualClock clock;
    ReadTimeBase base(clock);
    EXPECT_EQ(base.successfulRead(), 0);
    clock.advance(3600s);  // disconnected for an hour
    base.restart();
    clock.advance(2s);
    EXPECT_EQ(base.successfulRead(), 2);
}

}  // namespace
}  // namespace brevanto
