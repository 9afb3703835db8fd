// The day's tables at the size of a test-mode day (a row every 200 ms,
// 432,000 rows): adding a row, the memory a row takes, reloading the day's
// file, the day change that writes both tables, and a checkpoint's share of
// the main thread.
#include <chrono>
#include <cstdio>
#include <string>

#include "hub/hub.h"
#include "platform/testing/manualclock.h"
#include "platform/testing/recordingprompts.h"
#include "support/tempdir.h"

namespace {

using namespace brevanto;
using Stopwatch = std::chrono::steady_clock;

constexpr std::size_t kDayRows = 432'000;
constexpr std::size_t kTimedAdds = 10'000;

double microsecondsSince(Stopwatch::time_point start) {
    return std::chrono::duration<double, std::micro>(Stopwatch::now() - start).count();
}

// A row as the simulator's readings show: the time and fifteen short values.
void fill(DayTable& table, std::size_t rows) {
    const std::string_view basic[] = {"12:34:56", "230.1", "50.0",  "229.9",        "50.0", "0322",
                                      "0205",     "005",   "422",   "52.10[52.20]", "000",  "050",
                                      "0056",     "02.1",  "224.7", "00000"};
    const std::string_view computed[] = {"12:34:56", "1.234",    "456.000", "0.321",
                                         "0.300",    "1234.567", "89.000"};
    for (std::size_t i = 0; i < rows; ++i) {
        if (table.columns() == 16) {
            table.addRow(basic);
        } else {
            table.addRow(computed);
        }
    }
}

}  // namespace

int main() {
    testing::TempDir folder;
    testing::writeFile(folder / "brevanto.INI",
                       "[LogIn]\nLogBasic=1\nLogComputed=1\nLogEvent=1\nLogEnergy=1\n");
    testing::ManualClock clock({{2015, 3, 31}, {12, 0, 0, 0}});
    testing::RecordingPrompts prompts;
    QueuedInvoker mainThread;
    Hub hub(HubEnvironment{clock, DateTimeFormat{"%d/%m/%Y", "%H:%M:%S"}, prompts, mainThread,
                           folder.path(), folder / "brevanto.INI", false});
    hub.FormCreate();
    DailyData& daily = hub.dailyData();

    DayTable& basic = daily.basic().table().rows();
    fill(basic, kDayRows - kTimedAdds);
    auto start = Stopwatch::now();
    fill(basic, kTimedAdds);
    std::printf("add a row to a table of %zu rows: %.2f us\n", kDayRows,
                microsecondsSince(start) / kTimedAdds);
    std::printf("memory per basic row: %.0f bytes\n",
                static_cast<double>(basic.bytesHeld()) / static_cast<double>(basic.rowCount()));
    fill(daily.computed().table().rows(), kDayRows);

    // A whole sample as the log timer takes it: both tables and both files.
    start = Stopwatch::now();
    constexpr int kSamples = 1000;
    for (int i = 0; i < kSamples; ++i) {
        hub.scheduler().SampleLogRows();
    }
    std::printf("a sample (two rows, each appended to its file): %.2f us\n",
                microsecondsSince(start) / kSamples);

    if (!daily.basic().Write()) {
        std::fprintf(stderr, "bench_dailydata: cannot write the basic log\n");
        return 1;
    }
    start = Stopwatch::now();
    daily.basic().Load(hub.settings().AppSettings().basicLabels);
    std::printf("reload a %zu-row day file: %.1f ms (%zu rows)\n", basic.rowCount(),
                microsecondsSince(start) / 1000, basic.rowCount());

    for (int i = 0; i < 1000; ++i) {
        hub.eventLog().WriteEvent("a journal line of the day, as long as most of them are");
    }
    hub.acquisition().computed().TotalSolar = 1.0;
    hub.acquisition().computed().SolarEnergy = 1.0;
    start = Stopwatch::now();
    hub.scheduler().TimerCheckpointTimer();
    std::printf(
        "checkpoint on the main thread (totals, energy line, 1000 journal lines): %.2f ms\n",
        microsecondsSince(start) / 1000);
    start = Stopwatch::now();
    daily.writer().drain();
    std::printf("  ... and on the writer's thread until on the disk: %.2f ms\n",
                microsecondsSince(start) / 1000);

    clock.set({{2015, 4, 1}, {0, 0, 0, 500}});
    start = Stopwatch::now();
    hub.TimerTimer();
    std::printf("day change with %zu rows in each table: %.1f ms\n", kDayRows,
                microsecondsSince(start) / 1000);

    start = Stopwatch::now();
    hub.TimerTimer();
    std::printf("a tick when nothing changes (no window): %.1f us\n", microsecondsSince(start));
    return 0;
}
