// The /Chart page on a day of 1,440 rows (a reading a minute) and on a
// test-mode day of 432,000 rows: drawing it, the point reduction alone, and
// today's curves following the table row by row.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>

#include "charts/daychartpage.h"
#include "charts/minmaxreduce.h"
#include "charts/todayscurves.h"

namespace {

using namespace brevanto;
using Stopwatch = std::chrono::steady_clock;

double millisecondsSince(Stopwatch::time_point start) {
    return std::chrono::duration<double, std::milli>(Stopwatch::now() - start).count();
}

// A sunny day's rows, evenly over the day.
DaySeries sunnyDay(std::size_t rows) {
    DaySeries series;
    for (std::size_t i = 0; i < rows; ++i) {
        const int second =
            static_cast<int>(86400.0 * static_cast<double>(i) / static_cast<double>(rows));
        const double hour = second / 3600.0;
        const double sun = std::max(0.0, std::sin(3.14159 * (hour - 6.5) / 13.0));
        char line[200];
        std::snprintf(line, sizeof line,
                      "%02d:%02d:%02d,230.1,50.0,%.1f,%.1f,%.2f,%d,5,0,50.0,230.0,500,%d,9,38,390",
                      second / 3600, second / 60 % 60, second % 60, 250 + 60 * sun, 9 * sun,
                      50 + 4 * sun, static_cast<int>(30 + 60 * sun),
                      static_cast<int>(300 + 100 * std::sin(i / 7.0)));
        series.addLine(line);
    }
    return series;
}

template <typename Work>
double bestOf(int runs, Work&& work) {
    double best = 1e9;
    for (int run = 0; run < runs; ++run) {
        const auto start = Stopwatch::now();
        work();
        best = std::min(best, millisecondsSince(start));
    }
    return best;
}

}  // namespace

int main() {
    for (const std::size_t rows : {std::size_t{1440}, std::size_t{432000}}) {
        const DaySeries series = sunnyDay(rows);
        std::size_t bytes = 0;
        const double page =
            bestOf(5, [&] { bytes = renderDayChartPage(series, "Brevanto").size(); });
        const double reduce = bestOf(5, [&] {
            (void)reduceMinMax(series.seconds, series.curve(DayCurve::PvPower), 0, 86400, 672);
        });
        std::printf("/Chart page, %zu rows: %.2f ms to draw (%zu bytes) [target under 20 ms]\n",
                    rows, page, bytes);
        std::printf("  min/max reduction of one curve to 672 columns: %.2f ms\n", reduce);
    }

    LogTable table(16, "VariablesList");
    TodaysCurves curves(table);
    std::vector<std::string_view> cells(16, "52.1");
    cells[0] = "12:34:56";
    const int adds = 100000;
    const auto start = Stopwatch::now();
    for (int i = 0; i < adds; ++i) {
        table.addRow(cells, "Day = 1.1.2015", table.rows().rowCount() + 1);
    }
    std::printf("a row added to the table with today's curves following: %.2f us\n",
                millisecondsSince(start) * 1000 / adds);
    return 0;
}
