// How long the chart window takes to open over today's curves: constructed,
// shown, and painted once, on a day of a reading a minute (1,440 rows) and
// on a test-mode day (432,000 rows), both with the program's style. Also
// what one redraw of the test-mode day costs when a row comes in.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineSeries>
#include <QTest>

#include "platform/queuedinvoker.h"
#include "platform/testing/manualclock.h"
#include "platform/testing/recordingprompts.h"
#include "support/tempdir.h"
#include "ui/amethyststyle.h"
#include "ui/daychart.h"
#include "ui/eventloopdrain.h"
#include "ui/tgraphics.h"

namespace {

constexpr int kRuns = 7;
constexpr double kDaySeconds = 86400;

std::string cell(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

// A sunny day: the sun's curve from six to eighteen, the battery filling
// with it, the load in the evening.
void fillToday(brevanto::LogTable& table, int rows) {
    constexpr double kPi = 3.14159265358979;
    for (int row = 0; row < rows; ++row) {
        const double second = kDaySeconds * row / rows;
        const double hour = second / 3600;
        const double sun = hour > 6 && hour < 18 ? std::sin((hour - 6) / 12 * kPi) : 0;
        const double load = hour > 18 && hour < 23 ? 900 : 250;
        const double capacity = std::clamp(40 + (hour - 7) * 8, 40.0, 100.0);
        char time[16];
        const int whole = static_cast<int>(second);
        std::snprintf(time, sizeof time, "%02d:%02d:%02d", whole / 3600, whole / 60 % 60,
                      whole % 60);
        const std::vector<std::string> cells = {time,
                                                "230.0",
                                                "50.0",
                                                cell(60 * sun + 1),
                                                cell(38 * sun),
                                                "52.1",
                                                cell(capacity),
                                                "5",
                                                "0",
                                                "50.0",
                                                "230.0",
                                                cell(load),
                                                cell(load),
                                                "12",
                                                "38",
                                                "390"};
        std::vector<std::string_view> views(cells.begin(), cells.end());
        table.rows().addRow(views);
    }
    table.changed();
}

struct Figures {
    double minMs;
    double medianMs;
    double maxMs;
};

Figures summary(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return {times.front(), times[times.size() / 2], times.back()};
}

}  // namespace

int main(int argc, char** argv) {
    using namespace brevanto;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    applyAmethystStyle(application);
    std::printf("opening the chart window over today's curves (offscreen, %d runs each)\n", kRuns);
    for (const int rows : {1'440, 432'000}) {
        testing::TempDir folder;
        testing::writeFile(folder / "brevanto.INI", "");
        testing::ManualClock clock({{2015, 6, 21}, {23, 59, 0, 0}});
        testing::RecordingPrompts prompts;
        QueuedInvoker mainThread;
        EventLoopDrain drain(mainThread);
        Hub hub(HubEnvironment{clock, DateTimeFormat{"%d.%m.%Y", "%H:%M:%S"}, prompts, mainThread,
                               folder.path(), folder / "brevanto.INI", false});
        fillToday(hub.dailyData().basic().table(), rows);

        std::vector<double> opens;
        std::vector<double> redraws;
        for (int run = 0; run < kRuns; ++run) {
            QElapsedTimer timer;
            timer.start();
            TGraphics graphics(hub, prompts);
            graphics.show();
            if (!QTest::qWaitForWindowExposed(&graphics)) {
                std::fprintf(stderr, "bench_graphics: the window was never shown\n");
                return 1;
            }
            graphics.repaint();
            QCoreApplication::processEvents();
            opens.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);

            // A row in: the redraw on the next turn of the loop, painted.
            QLineSeries& pv = graphics.dayChart().series(DayCurve::PvPower);
            bool redrawn = false;
            const QMetaObject::Connection seen =
                QObject::connect(&pv, &QXYSeries::pointsReplaced, [&] { redrawn = true; });
            timer.restart();
            hub.dailyData().basic().table().changed();
            graphics.dayChart().todayChanged();
            while (!redrawn) {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            }
            graphics.repaint();
            redraws.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
            QObject::disconnect(seen);
        }
        const Figures open = summary(opens);
        const Figures redraw = summary(redraws);
        std::printf("  %7d rows: open  min %6.1f ms  median %6.1f ms  max %6.1f ms  (target: %s)\n",
                    rows, open.minMs, open.medianMs, open.maxMs,
                    rows < 10'000 ? "under 300 ms" : "under 1 s");
        std::printf("  %7d rows: redraw after a row  min %6.1f ms  median %6.1f ms  max %6.1f ms\n",
                    rows, redraw.minMs, redraw.medianMs, redraw.maxMs);
    }
    return 0;
}
