// brevanto-sim: a simulated inverter on a pseudo-terminal, for trying
// Brevanto without hardware and for the tests of the serial link.
#include <chrono>
#include <exception>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "inverter-sim/consolecommand.h"
#include "inverter-sim/dayscript.h"
#include "inverter-sim/eventloop.h"
#include "inverter-sim/pluggedterminal.h"
#include "inverter-sim/simoptions.h"
#include "inverter-sim/stopsignals.h"

namespace {

using namespace brevanto::sim;

constexpr int kExitBadArguments = 2;
constexpr int kExitCannotRun = 1;

// The script's lines, each a command the console would take; nothing when
// it cannot be used, said on standard error.
std::optional<std::vector<ScriptLine>> loadScript(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    if (!file.is_open() || !(text << file.rdbuf())) {
        std::cerr << "brevanto-sim: cannot read the script " << path << '\n';
        return std::nullopt;
    }
    auto parsed = parseDayScript(text.str());
    if (const auto* error = std::get_if<ScriptError>(&parsed)) {
        std::cerr << "brevanto-sim: " << path << ": " << error->message << '\n';
        return std::nullopt;
    }
    auto& lines = std::get<std::vector<ScriptLine>>(parsed);
    for (const ScriptLine& line : lines) {
        const ConsoleLine command = parseConsoleLine(line.command);
        if (const auto* rejected = std::get_if<Rejected>(&command)) {
            std::cerr << "brevanto-sim: " << path << ": '" << line.command
                      << "': " << rejected->reason << '\n';
            return std::nullopt;
        }
    }
    return std::move(lines);
}

double epochNow() {
    return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

int simulate(const SimOptions& options) {
    DayScript script;
    if (!options.scriptPath.empty()) {
        auto lines = loadScript(options.scriptPath);
        if (!lines) {
            return kExitBadArguments;
        }
        script = DayScript(std::move(*lines), epochNow());
    }
    try {
        const StopSignals stop;
        PluggedTerminal terminal(options.linkPath);
        EventLoop loop(LoopSetup{.terminal = &terminal,
                                 .stop = stop.fd(),
                                 .paced = options.pacing,
                                 .seed = options.seed,
                                 .script = std::move(script)});
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
