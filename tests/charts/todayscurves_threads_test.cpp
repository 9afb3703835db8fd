// The page's connection threads read today's curves while the main thread
// adds rows: every read sees whole rows, and the lock keeps them apart.
#include <atomic>
#include <string_view>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "charts/todayscurves.h"

namespace brevanto {
namespace {

TEST(TodaysCurvesThreads, ReadersOnOtherThreadsSeeWholeRowsWhileRowsAreAdded) {
    LogTable table(16, "VariablesList");
    TodaysCurves curves(table);
    std::atomic<bool> done{false};
    std::atomic<bool> torn{false};
    std::vector<std::thread> readers;
    for (int i = 0; i < 3; ++i) {
        readers.emplace_back([&] {
            while (!done) {
                curves.read([&](const DaySeries& series) {
                    for (const auto& curve : series.values) {
                        if (curve.size() != series.seconds.size()) {
                            torn = true;
                        }
                    }
                    return 0;
                });
            }
        });
    }
    std::vector<std::string_view> cells(16, "52.1");
    cells[0] = "12:00:00";
    for (int row = 0; row < 5000; ++row) {
        table.addRow(cells, "Day = 1.1.2015", table.rows().rowCount() + 1);
    }
    done = true;
    for (std::thread& reader : readers) {
        reader.join();
    }
    EXPECT_FALSE(torn);
    EXPECT_EQ(curves.read([](const DaySeries& series) { return series.size(); }), 5000u);
}

}  // namespace
}  // namespace brevanto
