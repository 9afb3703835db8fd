#include "inverter-sim/simoptions.h"

#include <vector>

#include <gtest/gtest.h>

namespace brevanto::sim {
namespace {

ParsedArguments parse(std::vector<std::string_view> arguments) {
    return parseArguments(arguments);
}

TEST(InverterSimOptions, ReadsTheLinkPacingSeedAndScript) {
    struct Case {
        std::vector<std::string_view> arguments;
        SimOptions expected;
    };
    const Case cases[] = {
        {{"--link", "/tmp/ttyINV"}, {"/tmp/ttyINV", true, kDefaultSeed, ""}},
        {{"--no-pacing", "--link", "p"}, {"p", false, kDefaultSeed, ""}},
        {{"--link", "p", "--seed", "18446744073709551615"}, {"p", true, 18446744073709551615u, ""}},
        {{"--seed", "0", "--link", "p", "--no-pacing"}, {"p", false, 0, ""}},
        {{"--script", "day.txt", "--link", "p"}, {"p", true, kDefaultSeed, "day.txt"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(parse(c.arguments), ParsedArguments{c.expected}) << c.arguments.size();
    }
}

TEST(InverterSimOptions, HelpWinsOverEverythingElse) {
    EXPECT_EQ(parse({"--help"}), ParsedArguments{ShowHelp{}});
    EXPECT_EQ(parse({"--link", "p", "--bogus", "--help"}), ParsedArguments{ShowHelp{}});
    EXPECT_EQ(parse({"--link", "p", "-h"}), ParsedArguments{ShowHelp{}});
}

TEST(InverterSimOptions, RefusesWhatItCannotUse) {
    const std::vector<std::string_view> cases[] = {
        {},
        {"--no-pacing"},
        {"--link"},
        {"--link", "p", "--seed"},
        {"--link", "p", "--script"},
        {"--link", "p", "--seed", "-1"},
        {"--link", "p", "--seed", "12x"},
        {"--link", "p", "--seed", "18446744073709551616"},
        {"--link", "p", "extra"},
        {"--pacing", "--link", "p"},
    };
    for (const auto& arguments : cases) {
        EXPECT_TRUE(std::holds_alternative<ArgumentError>(parse(arguments)))
            << arguments.size() << " arguments";
    }
}

}  // namespace
}  // namespace brevanto::sim
