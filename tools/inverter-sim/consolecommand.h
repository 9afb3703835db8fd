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

struct Quit {
    bool operator==(const Quit&) const = default;
};

struct Rejected {
    std::string reason;

    bool operator==(const Rejected&) const = default;
};

using ConsoleLine = std::variant<SetMode, SetQpigs, QueueRaw, SetSilent, SetBadCrc, Quit, Rejected>;

ConsoleLine parseConsoleLine(std::string_view line);

}  // namespace brevanto::sim
