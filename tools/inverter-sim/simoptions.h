// The simulator's command line: where to put the serial link, whether to
// keep to the line's real speed, and the seed that makes the noise repeat.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace brevanto::sim {

constexpr uint64_t kDefaultSeed = 1;

struct SimOptions {
    std::string linkPath;
    bool pacing = true;
    uint64_t seed = kDefaultSeed;
    std::string scriptPath;  // empty: no scripted day

    bool operator==(const SimOptions&) const = default;
};

struct ShowHelp {
    bool operator==(const ShowHelp&) const = default;
};

struct ArgumentError {
    std::string message;

    bool operator==(const ArgumentError&) const = default;
};

using ParsedArguments = std::variant<SimOptions, ShowHelp, ArgumentError>;

// arguments excludes the program name.
ParsedArguments parseArguments(std::span<const std::string_view> arguments);

std::string_view usageLine();
std::string_view helpText();

}  // namespace brevanto::sim
