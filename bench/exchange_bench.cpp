// Times whole exchanges with the paced simulator and sets them beside the
// least a 2400 baud 8N1 line allows: 10 bits a byte both ways, plus the
// 220 ms of silence that ends a read of unknown length.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <numeric>
#include <vector>

#include "linetiming.h"
#include "link/frames.h"
#include "link/inverterprotocol.h"
#include "platform/testing/recordingeventsink.h"
#include "support/simprocess.h"

namespace brevanto {
namespace {

constexpr int kRuns = 10;

struct Exchange {
    InverterCommand command;
    int replyBytes;
    bool endsOnSilence;
};

int run() {
    testing::SimProcess sim({.pacing = true});
    testing::RecordingEventSink events;
    TComm comm;
    comm.Open(sim.linkPath().string(), 2400, 8, 0, 1);
    if (comm.LastError() != 0) {
        std::fprintf(stderr, "cannot open %s\n", sim.linkPath().c_str());
        return 1;
    }
    InverterProtocol protocol(
        comm, events, [] { return true; }, [] { return true; });

    const Exchange exchanges[] = {
        {InverterCommand::QPIGS, 110, true},
        {InverterCommand::QMOD, 5, false},
    };
    std::printf("%-6s %10s %10s %10s %12s %8s\n", "", "mean ms", "min ms", "max ms", "minimum ms",
                "ratio");
    bool allValid = true;
    for (const Exchange& exchange : exchanges) {
        std::vector<double> times;
        for (int i = 0; i < kRuns; ++i) {
            comm.Purge();
            const auto start = std::chrono::steady_clock::now();
            const InverterReply reply = protocol.QueryInverter(exchange.command);
            const std::chrono::duration<double, std::milli> took =
                std::chrono::steady_clock::now() - start;
            allValid = allValid && reply.valid;
            times.push_back(took.count());
        }
        const double mean = std::accumulate(times.begin(), times.end(), 0.0) / kRuns;
        const double minimum =
            exchangeMinimumMs(exchange.command, exchange.replyBytes, exchange.endsOnSilence);
        std::printf("%-6s %10.1f %10.1f %10.1f %12.1f %8.3f\n",
                    std::string(commandText(exchange.command)).c_str(), mean,
                    *std::min_element(times.begin(), times.end()),
                    *std::max_element(times.begin(), times.end()), minimum, mean / minimum);
    }
    if (!allValid) {
        std::fprintf(stderr, "some replies were not valid\n");
        return 1;
    }
    return 0;
}

}  // namespace
}  // namespace brevanto

int main() {
    return brevanto::run();
}
