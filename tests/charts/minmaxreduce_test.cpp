// The point reduction keeps every column's lowest and highest point, so no
// spike or dip of a long day is lost on the screen.
#include "charts/minmaxreduce.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

namespace brevanto {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

TEST(ReduceMinMax, KeepsEveryColumnsExtremesInTheirOrder) {
    // A test-mode day: a reading a fifth of a second, with lone spikes and dips.
    std::vector<float> x;
    std::vector<float> y;
    for (int i = 0; i < 432000; ++i) {
        x.push_back(static_cast<float>(i) / 5);
        float value = 1000 * std::sin(static_cast<float>(i) / 20000);
        if (i % 7919 == 0) {
            value += 5000;
        }
        if (i % 6007 == 3) {
            value -= 5000;
        }
        y.push_back(value);
    }
    const int columns = 800;
    const float x0 = 0;
    const float x1 = 86400;
    const std::vector<ChartPoint> reduced = reduceMinMax(x, y, x0, x1, columns);
    EXPECT_LE(reduced.size(), static_cast<std::size_t>(columns) * 4);
    EXPECT_TRUE(std::is_sorted(reduced.begin(), reduced.end(),
                               [](ChartPoint a, ChartPoint b) { return a.x < b.x; }));

    const float width = (x1 - x0) / columns;
    std::vector<float> low(columns, 1e9F);
    std::vector<float> high(columns, -1e9F);
    for (std::size_t i = 0; i < x.size(); ++i) {
        const int column = std::min(static_cast<int>(x[i] / width), columns - 1);
        low[column] = std::min(low[column], y[i]);
        high[column] = std::max(high[column], y[i]);
    }
    std::vector<float> keptLow(columns, 1e9F);
    std::vector<float> keptHigh(columns, -1e9F);
    for (const ChartPoint& point : reduced) {
        const int column = std::min(static_cast<int>(point.x / width), columns - 1);
        keptLow[column] = std::min(keptLow[column], point.y);
        keptHigh[column] = std::max(keptHigh[column], point.y);
    }
    EXPECT_EQ(keptLow, low);
    EXPECT_EQ(keptHigh, high);
    EXPECT_EQ(reduced.front().x, x.front());
    EXPECT_EQ(reduced.back().x, x.back());
}

TEST(ReduceMinMax, KeepsAShortCurveWholeAndLeavesGapsOut) {
    const std::vector<float> x = {0, 1, 2, 3, 4};
    const std::vector<float> y = {5, kNaN, 7, 1, kNaN};
    const std::vector<ChartPoint> reduced = reduceMinMax(x, y, 0, 5, 100);
    ASSERT_EQ(reduced.size(), 3u);
    EXPECT_EQ(reduced[0].y, 5);
    EXPECT_EQ(reduced[1].y, 7);
    EXPECT_EQ(reduced[2].y, 1);
}

TEST(ReduceMinMax, LeavesGapsOutOfALongCurveToo) {
    std::vector<float> x;
    std::vector<float> y;
    for (int i = 0; i < 1000; ++i) {
        x.push_back(static_cast<float>(i));
        y.push_back(i % 2 == 0 ? kNaN : static_cast<float>(i));
    }
    for (const ChartPoint& point : reduceMinMax(x, y, 0, 1000, 10)) {
        EXPECT_FALSE(std::isnan(point.y));
    }
}

}  // namespace
}  // namespace brevanto
