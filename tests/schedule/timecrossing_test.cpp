// A switching time is acted on once, at the first tick at or after it.
#include "schedule/timecrossing.h"

#include <gtest/gtest.h>

namespace brevanto {
namespace {

TimeOfDay at(int h, int m, int s, int ms = 0) {
    return {h, m, s, ms};
}

TEST(TimeCrossing, ATimeIsReachedOnceAtTheFirstTickAtOrAfterIt) {
    struct Case {
        TimeOfDay previous, tick, time;
        bool reached;
    } const cases[] = {
        {at(7, 59, 58, 600), at(7, 59, 59, 600), at(8, 0, 0), false},
        {at(7, 59, 59, 600), at(8, 0, 0, 600), at(8, 0, 0), true},
        {at(8, 0, 0, 600), at(8, 0, 1, 600), at(8, 0, 0), false},
        // Exactly on the time counts; the tick before it does not.
        {at(7, 59, 59), at(8, 0, 0), at(8, 0, 0), true},
        {at(8, 0, 0), at(8, 0, 1), at(8, 0, 0), false},
        // The tick that spans midnight reaches nothing, so 00:00:00 never.
        {at(23, 59, 59, 500), at(0, 0, 0, 500), at(0, 0, 0), false},
        {at(23, 59, 59, 500), at(0, 0, 0, 500), at(23, 59, 59, 800), false},
        {at(23, 59, 59), at(0, 0, 0), at(0, 0, 0), false},
        // Evening and morning times on either side of midnight.
        {at(21, 59, 59, 900), at(22, 0, 0, 900), at(22, 0, 0), true},
        {at(5, 59, 59, 900), at(6, 0, 0, 900), at(6, 0, 0), true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(timeReached(c.previous, c.tick, c.time), c.reached)
            << c.previous.hour << ":" << c.previous.minute << ":" << c.previous.second << "."
            << c.previous.millisecond << " -> " << c.tick.hour << ":" << c.tick.minute << ":"
            << c.tick.second << "." << c.tick.millisecond << " for " << c.time.hour << ":"
            << c.time.minute;
    }
}

}  // namespace
}  // namespace brevanto
