// The commands a person or a test types on the simulator's standard input to
// change how the inverter behaves, read from one line of text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace brevanto::sim {

struct SetMode {
    char letter = 'L';

    bool operator==(const SetMode&) const = default;
};

// No payload: generate the day's values again.
struct SetQpigs {
    std::optional<std::string> payload;

    bool operator==(const SetQpigs&) const = default;
};

struct QueueRaw {
    std::string command;
    std::vector<uint8_t> bytes;

    bool operator==(const QueueRaw&) const = default;
};

struct SetSilent {
    bool on = false;

    bool operator==(const SetSilent&) const = default;
};

struct SetBadCrc {
    bool on = false;

    bool operator==(const SetBadCrc&) const = default;
};

// The line outage: no AC on the input, so the inverter runs on its battery.
struct SetGrid {
    bool on = true;

    bool operator==(const SetGrid&) const = default;
};

// Every frame, good or not, answered "(NAK".
struct SetNak {
    bool on = false;

    bool operator==(const SetNak&) const = default;
};

// Noise on the line to the PC, as from a loose or unterminated wire.
struct SetBabble {
    bool on = false;

    bool operator==(const SetBabble&) const = default;
};

// The adapter pulled out (the port vanishes) or put back (a new one appears
// behind the same link).
struct SetPlugged {
    bool on = true;

    bool operator==(const SetPlugged&) const = default;
};

// The energy the plant delivered, day by day, answered on one line.
struct Report {
    bool operator==(const Report&) const = default;
};

struct Quit {
    bool operator==(const Quit&) const = default;
};

struct Rejected {
    std::string reason;

    bool operator==(const Rejected&) const = default;
};

using ConsoleLine = std::variant<SetMode, SetQpigs, QueueRaw, SetSilent, SetBadCrc, SetGrid, SetNak,
                                 SetBabble, SetPlugged, Report, Quit, Rejected>;

ConsoleLine parseConsoleLine(std::string_view line);

}  // namespace brevanto::sim
