// Today's curves follow the basic table: each new row once, and a fresh
// start when the table is emptied at the day change.
#include "charts/todayscurves.h"

#include <string_view>
#include <vector>

#include <gtest/gtest.h>

namespace brevanto {
namespace {

void addRow(LogTable& table, std::string_view time, std::string_view pvVolts) {
    std::vector<std::string_view> cells(16, "1");
    cells[0] = time;
    cells[3] = pvVolts;
    table.addRow(cells, "Day = 1.1.2015", table.rows().rowCount() + 1);
}

TEST(TodaysCurves, FollowsTheRowsAsTheyComeAndStartsAgainWhenEmptied) {
    LogTable table(16, "VariablesList");
    addRow(table, "08:00:00", "100");
    TodaysCurves curves(table);
    int told = 0;
    const Subscription subscription = curves.addChangeListener([&] { ++told; });
    EXPECT_EQ(curves.read([](const DaySeries& s) { return s.size(); }), 1u)
        << "rows already there are taken";

    addRow(table, "08:00:01", "200");
    addRow(table, "08:00:02", "300");
    EXPECT_EQ(told, 2);
    EXPECT_EQ(curves.read([](const DaySeries& s) { return s.curve(DayCurve::PvPower)[2]; }), 300);

    table.empty();
    EXPECT_EQ(curves.read([](const DaySeries& s) { return s.size(); }), 0u);
    addRow(table, "00:00:01", "50");
    EXPECT_EQ(curves.read([](const DaySeries& s) { return s.seconds; }), std::vector<float>{1});

    // Reloaded from a file: the rows replaced in place, then one word.
    table.rows().clear();
    table.rows().addLine("06:00:00,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1");
    table.rows().addLine("06:00:01,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1");
    table.changed();
    EXPECT_EQ(curves.read([](const DaySeries& s) { return s.seconds; }),
              (std::vector<float>{21600, 21601}));
}

}  // namespace
}  // namespace brevanto
