// The command line: nothing for the desktop, --headless, --all-errors,
// --help, --version, and anything else refused by name.
#include "app/commandline.h"

#include <tuple>

#include <gtest/gtest.h>

namespace brevanto {
namespace {

using Mode = CommandLine::Run;

TEST(CommandLineTest, EachArgumentChoosesItsRunAndAnUnknownOneIsRefusedByName) {
    const std::tuple<std::vector<std::string>, Mode, bool> cases[] = {
        {{}, Mode::Desktop, false},
        {{"--headless"}, Mode::Headless, false},
        {{"--all-errors"}, Mode::Desktop, true},
        {{"--all-errors", "--headless"}, Mode::Headless, true},
        {{"--help"}, Mode::Help, false},
        {{"-h"}, Mode::Help, false},
        {{"--version"}, Mode::Version, false},
        {{"--headless", "--help"}, Mode::Help, false},
        {{"--headless", "--verbose"}, Mode::Refused, false},
        {{"headless"}, Mode::Refused, false},
    };
    for (const auto& [arguments, mode, allErrors] : cases) {
        const CommandLine line = parseCommandLine(arguments);
        EXPECT_EQ(line.run, mode) << ::testing::PrintToString(arguments);
        EXPECT_EQ(line.allErrors, allErrors) << ::testing::PrintToString(arguments);
    }
    EXPECT_EQ(parseCommandLine({"--verbose"}).problem, "unknown argument '--verbose'");
    EXPECT_EQ(versionText(), "Brevanto 1.1.7.1\n");
    EXPECT_NE(usageText().find("--headless"), std::string::npos);
}

}  // namespace
}  // namespace brevanto
