// The cost of one scheduler tick with its display refresh, in the main
// window connected in test mode. Three figures: ticks as the program makes
// them, each after a new reading, with the repaint of what changed; ticks
// in a tight loop (texts unchanged: the bookkeeping alone); and a tick with
// the whole window repainted, the worst case.
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

#include "platform/clock.h"
#include "platform/queuedinvoker.h"
#include "platform/testing/recordingprompts.h"
#include "support/tempdir.h"
#include "support/waituntil.h"
#include "ui/amethyststyle.h"
#include "ui/eventloopdrain.h"
#include "ui/tform1.h"

namespace {

constexpr int kTicks = 5000;
constexpr int kPaintedTicks = 200;
constexpr int kLiveTicks = 20;

// Qt's loop as the wait's step: what is pending runs, then a short pause,
// so the wait leaves the reading thread its core.
void spin() {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    brevanto::testing::pauseBriefly();
}

}  // namespace

int main(int argc, char** argv) {
    using namespace brevanto;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    applyAmethystStyle(application);
    testing::TempDir folder;
    testing::writeFile(folder / "brevanto.INI", "[Main]\nMeasTime=0\n");
    SystemClock clock;
    testing::RecordingPrompts prompts;
    QueuedInvoker mainThread;
    EventLoopDrain drain(mainThread);
    Hub hub(HubEnvironment{clock, DateTimeFormat::fromEnvironment(), prompts, mainThread,
                           folder.path(), folder / "brevanto.INI", false});
    TForm1 form(hub, mainThread, prompts, [] { return false; });
    form.FormCreate();
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) {
        std::fprintf(stderr, "bench_tick: the window was never shown\n");
        return 1;
    }
    hub.TestClick(true);
    hub.Connect1Click();
    if (!testing::waitUntil([&] { return hub.acquisition().loopCount() >= 2; }, spin)) {
        std::fprintf(stderr, "bench_tick: test mode gave no readings\n");
        return 1;
    }

    QElapsedTimer timer;
    double liveTotalUs = 0;
    double liveMaxUs = 0;
    double tickOnlyUs = 0;
    for (int i = 0; i < kLiveTicks; ++i) {
        const int loops = hub.acquisition().loopCount();
        if (!testing::waitUntil([&] { return hub.acquisition().loopCount() > loops; }, spin)) {
            return 1;
        }
        QCoreApplication::processEvents();
        timer.restart();
        hub.TimerTimer();
        tickOnlyUs += static_cast<double>(timer.nsecsElapsed()) / 1e3;
        QCoreApplication::processEvents();
        const double us = static_cast<double>(timer.nsecsElapsed()) / 1e3;
        liveTotalUs += us;
        liveMaxUs = std::max(liveMaxUs, us);
    }

    timer.restart();
    for (int i = 0; i < kTicks; ++i) {
        hub.TimerTimer();
    }
    const double tickUs = static_cast<double>(timer.nsecsElapsed()) / 1e3 / kTicks;

    timer.restart();
    for (int i = 0; i < kPaintedTicks; ++i) {
        hub.TimerTimer();
        form.repaint();
    }
    const double paintedUs = static_cast<double>(timer.nsecsElapsed()) / 1e3 / kPaintedTicks;

    std::printf("one tick with the display refresh (target: under 1 ms)\n");
    std::printf(
        "  after each new reading, with its repaint: mean %.1f us, max %.1f us (%d ticks)\n",
        liveTotalUs / kLiveTicks, liveMaxUs, kLiveTicks);
    std::printf("  of which the tick itself: mean %.1f us\n", tickOnlyUs / kLiveTicks);
    std::printf("  texts unchanged, tight loop: %.1f us (%d ticks)\n", tickUs, kTicks);
    std::printf("  with the whole window repainted: %.1f us (%d ticks)\n", paintedUs,
                kPaintedTicks);
    hub.ShutDown();
    return 0;
}
