// The command line: nothing for the desktop, --headless, --help, --version,
// and anything else refused by name.
#include "app/commandline.h"

#include <gtest/gtest.h>

namespace brevanto {
namespace {

using Mode = CommandLine::Run;

TEST(CommandLineTest, EachArgumentChoosesItsRunAndAnUnknownOneIsRefusedByName) {
    const std::pair<std::vector<std::string>, Mode> cases[] = {
        {{}, Mode::Desktop},
        {{"--headless"}, Mode::Headless},
        {{"--help"}, Mode::Help},
        {{"-h"}, Mode::Help},
        {{"--version"}, Mode::Version},
        {{"--headless", "--help"}, Mode::Help},
        {{"--headless", "--verbose"}, Mode::Refused},
        {{"headless"}, Mode::Refused},
    };
    for (const auto& [arguments, mode] : cases) {
        EXPECT_EQ(parseCommandLine(arguments).run, mode) << ::testing::PrintToString(arguments);
    }
    EXPECT_EQ(parseCommandLine({"--verbose"}).problem, "unknown argument '--verbose'");
    EXPECT_EQ(versionText(), "Brevanto 1.1.7.1\n");
    EXPECT_NE(usageText().find("--headless"), std::string::npos);
}

}  // namespace
}  // namespace brevanto
