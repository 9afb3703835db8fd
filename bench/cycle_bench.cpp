// Times whole measurement cycles against the paced simulator, beside the least
// the line allows ("QPIGS" and "QMOD" with the silence that ends the first),
// and the longest stretch the main thread spends in a cycle's hand-overs.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <utility>

#include "acquisition/measurementcycle.h"
#include "linetiming.h"
#include "link/frames.h"
#include "platform/clock.h"
#include "platform/queuedinvoker.h"
#include "platform/testing/recordingeventsink.h"
#include "platform/testing/recordingprompts.h"
#include "support/simprocess.h"
#include "support/waituntil.h"

namespace brevanto {
namespace {

using Millis = std::chrono::duration<double, std::milli>;
constexpr int kCycles = 8;

// Measures how long each piece of handed-over work holds the main thread.
class TimingInvoker final : public MainThreadInvoker {
public:
    explicit TimingInvoker(MainThreadInvoker& inner) : m_inner(inner) {}
    void invokeAndWait(std::function<void()> work) override {
        m_inner.invokeAndWait([this, &work] {
            const auto start = std::chrono::steady_clock::now();
            work();
            const double took = Millis(std::chrono::steady_clock::now() - start).count();
            m_longest = std::max(m_longest, took);
        });
    }
    void post(std::function<void()> work) override { m_inner.post(std::move(work)); }
    double takeLongest() { return std::exchange(m_longest, 0.0); }

private:
    MainThreadInvoker& m_inner;
    double m_longest = 0;  // touched on the main thread only
};

int run() {
    testing::SimProcess sim({.pacing = true});
    testing::RecordingPrompts prompts;
    testing::RecordingEventSink events;
    QueuedInvoker mainThread;
    TimingInvoker invoker(mainThread);
    SystemClock clock;
    const DateTimeFormat format = DateTimeFormat::fromEnvironment();
    LinkState linkState;
    linkState.setConnectCaption(LinkState::kDisconnect);
    InverterLink link(
        prompts, events, [&] { return linkState.connected(); }, [] { return true; });
    if (link.open(sim.linkPath().string()) != 0) {
        std::fprintf(stderr, "cannot open %s\n", sim.linkPath().c_str());
        return 1;
    }
    InverterReadings readings;
    ReadTimeBase timeBase(clock);
    timeBase.restart();
    MeasurementCycle cycle(link, linkState, invoker, readings, timeBase, clock, format,
                           {[] { return 0; }, [] { return std::string(); }});

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
        testing::waitUntil([&] { return done.load(); }, mainThread);
        reader.join();
        const double held = invoker.takeLongest();
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
