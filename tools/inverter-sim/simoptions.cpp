#include "inverter-sim/simoptions.h"

#include <algorithm>
#include <charconv>

namespace brevanto::sim {
namespace {

bool parseSeed(std::string_view text, uint64_t& seed) {
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, seed);
    return !text.empty() && error == std::errc{} && stop == end;
}

bool asksForHelp(std::span<const std::string_view> arguments) {
    return std::any_of(arguments.begin(), arguments.end(),
                       [](std::string_view a) { return a == "--help" || a == "-h"; });
}

}  // namespace

// Asking for help is answered however the rest of the line is mistyped.
ParsedArguments parseArguments(std::span<const std::string_view> arguments) {
    if (asksForHelp(arguments)) {
        return ShowHelp{};
    }
    SimOptions options;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (argument == "--no-pacing") {
            options.pacing = false;
        } else if (argument == "--link" || argument == "--seed" || argument == "--script") {
            if (!hasValue) {
                return ArgumentError{std::string(argument) + " needs a value"};
            }
            const std::string_view value = arguments[++i];
            if (argument == "--link") {
                options.linkPath = value;
            } else if (argument == "--script") {
                options.scriptPath = value;
            } else if (!parseSeed(value, options.seed)) {
                return ArgumentError{"--seed takes a whole number, not '" + std::string(value) +
                                     "'"};
            }
        } else {
            return ArgumentError{"unknown argument '" + std::string(argument) + "'"};
        }
    }
    if (options.linkPath.empty()) {
        return ArgumentError{"--link PATH is required"};
    }
    return options;
}

std::string_view usageLine() {
    return "usage: brevanto-sim --link PATH [--no-pacing] [--seed N] [--script FILE]";
}

std::string_view helpText() {
    return R"(usage: brevanto-sim --link PATH [--no-pacing] [--seed N] [--script FILE]

Pretends to be a PIP 4048MS-style solar inverter on a serial line, so you can
try Brevanto, or test it, without the hardware. It creates a pseudo-terminal,
makes PATH a symbolic link to it, prints "ready PATH" and answers QPIGS, QMOD
and QID like the inverter does (anything else gets NAK). Point Brevanto at PATH.

The QPIGS values follow a sunny day on the local clock: PV charging from about
06:30 to 19:00 with its peak near 13:00, the battery filling by day and
draining with the household load at night.

options:
  --link PATH   where to put the link to the serial port (an existing symbolic
                link there is replaced; any other file is left alone)
  --no-pacing   answer at once instead of at the line's real 2400 baud
  --seed N      seed of the noise on the values (default 1, so runs repeat)
  --script FILE
                a day of faults: lines "HH:MM:SS COMMAND" with the commands
                below, each run when its time of day next comes round after
                the line before it; '#' starts a comment line
  --help        show this text

commands on standard input, one a line, each answered "ok" or "error REASON":
  mode LETTER          the letter QMOD reports (default L, line mode)
  qpigs PAYLOAD        always answer QPIGS with this text (between "(" and the
                       check bytes); "qpigs auto" goes back to the day's values
  raw COMMAND HEX      send these bytes, exactly, as the next reply to COMMAND
                       (hex pairs, blanks allowed; several queue up in order)
  silent on|off        stop answering at all, or start again
  badcrc on|off        spoil the check bytes of every reply, or stop
  grid on|off          the line outage: AC input 0 V, and QMOD says B in place
                       of L until the line is back
  nak on|off           answer every frame "(NAK", or stop
  babble on|off        send noise on the line, 240 bytes a second, or stop
  unplug, plug         pull the adapter (the port and the link vanish) or put
                       it back (a new port behind the same link)
  report               the energy delivered since the first QID, by day:
                       "energy DATE solar=KWH line=KWH sampled_solar=KWH
                       sampled_line=KWH readings=N", days joined by "; ". The
                       truth is integrated second by second from the
                       noise-free curves; "sampled" is each whole reading's
                       power times the time since the one before (at most
                       300 s, from midnight for a day's first), what a
                       monitor's rule can make of the readings served
  quit                 remove the link and exit (so does end of input)
)";
}

}  // namespace brevanto::sim
