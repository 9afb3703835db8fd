// Times whole measurement cycles against the paced simulator, beside the least
// the line allows ("QPIGS" and "QMOD" with the silence that ends the first),
// and the longest stretch the main thread spends in a cycle's hand-overs.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include "acquisition/measurementcycle.h"
#include "linetiming.h"
#include "link/frames.h"
#include "platform/clock.h"
#include "platform/queuedinvoker.h"
#include "platform/testing/recordingeventsink.h"
#include "platform/testing/recordingprompts.h"
#include "support/simprocess.h"

namespace brevanto {
namespace {

using Millis = std::chrono::duration<double, std::milli>;
constexpr int kCycles = 8;

// Serves the main thread until `done`, and says how long the longest batch
// of handed-over work held it.
double serveTimed(QueuedInvoker& mainThread, const std::atomic<bool>& done) {
    double longest = 0;
    while (!done) {
        mainThread.runUntil([&] { return done.load(); }, std::chrono::milliseconds(1));
        const auto start = std::chrono::steady_clock::now();
        if (mainThread.runPending() > 0) {
            longest = std::max(longest, Millis(std::chrono::steady_clock::now() - start).count());
        }
    }
    return longest;
}

int run() {
    testing::SimProcess sim({.pacing = true});
    testing::RecordingPrompts prompts;
    testing::RecordingEventSink events;
    QueuedInvoker mainThread;
    SystemClock clock;
    const DateTimeFormat format = DateTimeFormat::fromEnvironment();
    const Services services{clock, format, prompts, mainThread, events, {}};
    LinkState linkState;
    linkState.setPhase(LinkPhase::Running);
    InverterLink link(
        prompts, events, [&] { return linkState.connected(); }, [] { return true; });
    if (link.open(sim.linkPath().string()) != 0) {
        std::fprintf(stderr, "cannot open %s\n", sim.linkPath().c_str());
        return 1;
    }
    MeasurementCycle cycle(services, link, linkState);
    cycle.timeBase().restart();
    const InverterReadings& readings = cycle.readings();

    const double minimum = exchangeMinimumMs(InverterCommand::QPIGS, 110, true) +
                           exchangeMinimumMs(InverterCommand::QMOD, 5, false);
    std::printf("%-6s %12s %12s %8s %22s\n", "cycle", "took ms", "minimum ms", "ratio",
                "main thread held ms");
    double total = 0;
    double longestHeld = 0;
    for (int i = 1; i <= kCycles; ++i) {
        std::atomic<bool> done{false};
        double took = 0;
        std::thread reader([&] {
            const auto start = std::chrono::steady_clock::now();
            cycle.ReadInverter();
            took = Millis(std::chrono::steady_clock::now() - start).count();
            done = true;
        });
        const double held = serveTimed(mainThread, done);
        reader.join();
        total += took;
        longestHeld = std::max(longestHeld, held);
        std::printf("%-6d %12.1f %12.1f %8.3f %22.3f\n", i, took, minimum, took / minimum, held);
    }
    std::printf("mean   %12.1f %12.1f %8.3f   longest hold %8.3f ms\n", total / kCycles, minimum,
                total / kCycles / minimum, longestHeld);
    if (!readings.MainValuesValid || !readings.StatusValid) {
        std::fprintf(stderr, "the last cycle did not read\n");
        return 1;
    }
    return 0;
}

}  // namespace
}  // namespace brevanto

int main() {
    return brevanto::run();
}
