#include "platform/texttrim.h"

#include <gtest/gtest.h>

namespace brevanto {
namespace {

TEST(Trimmed, TakesBlanksTabsAndLineEndsFromBothEndsOnly) {
    EXPECT_EQ(trimmed(" \t08:30:00\r\n"), "08:30:00");
    EXPECT_EQ(trimmed("a b"), "a b");
    EXPECT_EQ(trimmed(" \r\n\t "), "");
    EXPECT_EQ(trimmed(""), "");
}

}  // namespace
}  // namespace brevanto
