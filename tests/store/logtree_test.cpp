#include "store/logtree.h"

#include <gtest/gtest.h>

#include "platform/testing/recordingprompts.h"
#include "support/tempdir.h"

namespace brevanto {
namespace {

TEST(LogTreeTest, DatesHaveNoLeadingZeros) {
    EXPECT_EQ(dayMonthYear({2015, 3, 7}), "7-3-2015");
    EXPECT_EQ(dayMonthYear({2016, 12, 31}), "31-12-2016");
    EXPECT_EQ(monthYear({2015, 3, 7}), "3-2015");
}

TEST(LogTreeTest, AMonthsTreeStopsAtTheMonth) {
    testing::TempDir dir;
    std::filesystem::create_directory(dir / "Log");
    testing::RecordingPrompts prompts;
    const LogTreeNames names{"LogEnergy", LogTreeDepth::Month, "cannot"};
    EXPECT_EQ(nameLogFile(dir.path(), names, {2015, 3, 7}, "month.csv", "fallback.csv", prompts),
              "Log/LogEnergy/2015/3/month.csv");
    EXPECT_TRUE(std::filesystem::is_directory(dir / "Log/LogEnergy/2015/3"));
    EXPECT_FALSE(std::filesystem::exists(dir / "Log/LogEnergy/2015/3/7"));
    EXPECT_TRUE(prompts.messages().empty());
}

}  // namespace
}  // namespace brevanto
