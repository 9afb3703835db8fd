// brevanto-sim: a simulated inverter on a pseudo-terminal, for trying
// Brevanto without hardware and for the tests of the serial link.
#include <exception>
#include <iostream>
#include <string_view>
#include <vector>

#include "inverter-sim/eventloop.h"
#include "inverter-sim/linksymlink.h"
#include "inverter-sim/pseudoterminal.h"
#include "inverter-sim/simoptions.h"
#include "inverter-sim/stopsignals.h"

namespace {

using namespace brevanto::sim;

constexpr int kExitBadArguments = 2;
constexpr int kExitCannotRun = 1;

int simulate(const SimOptions& options) {
    try {
        const StopSignals stop;
        const PseudoTerminal terminal;
        const LinkSymlink link(options.linkPath, terminal.slavePath());
        EventLoop loop(LoopSetup{.serial = terminal.master(),
                                 .stop = stop.fd(),
                                 .paced = options.pacing,
                                 .seed = options.seed});
        loop.say("ready " + options.linkPath);
        loop.run();
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "brevanto-sim: " << error.what() << '\n';
        return kExitCannotRun;
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    const ParsedArguments parsed = parseArguments(arguments);
    if (const auto* error = std::get_if<ArgumentError>(&parsed)) {
        std::cerr << "brevanto-sim: " << error->message << '\n' << usageLine() << '\n';
        return kExitBadArguments;
    }
    if (std::holds_alternative<ShowHelp>(parsed)) {
        std::cout << helpText();
        return 0;
    }
    return simulate(std::get<SimOptions>(parsed));
}
