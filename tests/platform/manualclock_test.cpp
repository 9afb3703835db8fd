#include "platform/testing/manualclock.h"

#include <gtest/gtest.h>

namespace brevanto {
namespace {

using namespace std::chrono_literals;

TEST(ManualClock, AdvancesAcrossMidnightMonthAndYear) {
    testing::ManualClock clock({{2015, 12, 31}, {23, 59, 59, 500}});
    const auto before = clock.monotonicNow();
    clock.advance(700ms);
    EXPECT_EQ(clock.now(), (LocalDateTime{{2016, 1, 1}, {0, 0, 0, 200}}));
    EXPECT_EQ(clock.monotonicNow() - before, 700ms);
}

TEST(ManualClock, SettingTheWallClockLeavesMonotonicTimeAlone) {
    testing::ManualClock clock;
    const auto before = clock.monotonicNow();
    clock.set({{2015, 3, 29}, {3, 0, 0, 0}});
    EXPECT_EQ(clock.monotonicNow(), before);
    EXPECT_EQ(clock.now().time.hour, 3);
}

TEST(LocalDateTime, DayNumbersRoundTrip) {
    for (const LocalDate date :
         {LocalDate{1970, 1, 1}, LocalDate{2016, 2, 29}, LocalDate{2099, 12, 31}}) {
        EXPECT_EQ(civilFromDays(daysFromCivil(date)), date);
    }
    EXPECT_EQ(daysFromCivil({2015, 3, 8}) - daysFromCivil({2015, 3, 7}), 1);
    EXPECT_FALSE(isValidDate({2015, 2, 29}));
    EXPECT_TRUE(isValidDate({2016, 2, 29}));
}

}  // namespace
}  // namespace brevanto
