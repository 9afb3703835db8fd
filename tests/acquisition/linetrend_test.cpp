#include "acquisition/linetrend.h"

#include <vector>

#include <gtest/gtest.h>

namespace brevanto {
namespace {

// Feeds AC voltages reading by reading and returns LineTrend after each.
std::vector<int> trendFor(const std::vector<double>& voltages, int threshold) {
    LineState line;
    std::vector<int> trend;
    for (const double volts : voltages) {
        takeLineReading(line, volts);
        LineUpdate(line, threshold);
        trend.push_back(line.LineTrend);
    }
    return trend;
}

TEST(LineTrend, ThresholdFollowsTheMeasuringInterval) {
    for (const int measTime : {0, 1, 2}) {
        EXPECT_EQ(FaultThreshold(measTime), -5) << measTime;
    }
    for (const int measTime : {3, 4, 5, 6, 7}) {
        EXPECT_EQ(FaultThreshold(measTime), -1) << measTime;
    }
}

TEST(LineTrend, Table) {
    struct Case {
        const char* name;
        std::vector<double> voltages;
        int threshold;
        std::vector<int> trend;
    };
    const Case cases[] = {
        {"a lasting outage reaches the threshold on its fifth reading",
         {230, 0, 0, 0, 0, 0, 0},
         -5,
         {0, -1, -2, -3, -4, -5, -6}},
        {"a short outage is forgotten on the second reading with the line",
         {0, 0, 0, 230, 230, 230},
         -5,
         {-1, -2, -3, 1, 0, 0}},
        {"an outage exactly as long as the threshold is a fault: its return counts up",
         {0, 0, 0, 0, 0, 230, 230, 230},
         -5,
         {-1, -2, -3, -4, -5, 1, 2, 3}},
        {"the long interval's threshold is reached at once", {0}, -1, {-1}},
        {"after a declared fault the line's return counts up",
         {0, 0, 230, 230, 230},
         -1,
         {-1, -2, 1, 2, 3}},
        {"exactly 100 V is no line", {100}, -5, {-1}},
        {"a steady line stays at 0", {230, 101, 230}, -5, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(trendFor(c.voltages, c.threshold), c.trend) << c.name;
    }
}

TEST(LineTrend, WithoutNewReadingsALostLineKeepsFallingAndAReturnKeepsRising) {
    LineState line;
    takeLineReading(line, 0);
    LineUpdate(line, -5);
    // The inverter stops answering: the update still runs every cycle and
    // re-applies the last change it saw.
    LineUpdate(line, -5);
    LineUpdate(line, -5);
    EXPECT_EQ(line.LineTrend, -1);
    takeLineReading(line, 0);
    LineUpdate(line, -5);
    LineUpdate(line, -5);
    EXPECT_EQ(line.LineTrend, -3);
    EXPECT_EQ(line.LineDownCount, -3);
}

}  // namespace
}  // namespace brevanto
