#include "store/storedform.h"

#include <limits>

#include <gtest/gtest.h>

namespace brevanto {
namespace {

struct IntegerCase {
    std::string_view text;
    std::optional<std::int32_t> expected;
};

TEST(StoredInteger, ReadsDecimalAndHexadecimalAndRefusesTheRest) {
    const IntegerCase cases[] = {
        {"7", 7},
        {" 12 ", 12},
        {"+3", 3},
        {"-4", -4},
        {"007", 7},
        {"$1F", 31},
        {"0x10", 16},
        {"0X10", 16},
        {"-$10", -16},
        {"$FFFFFFFF", -1},
        {"2147483647", std::numeric_limits<std::int32_t>::max()},
        {"-2147483648", std::numeric_limits<std::int32_t>::min()},
        {"2147483648", std::nullopt},
        {"$100000000", std::nullopt},
        {"", std::nullopt},
        {"abc", std::nullopt},
        {"1.5", std::nullopt},
        {"12abc", std::nullopt},
        {"0x", std::nullopt},
        {"$", std::nullopt},
        {"+-1", std::nullopt},
        {"- 1", std::nullopt},
        {"99999999999999999999999999", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parseStoredInteger(c.text), c.expected) << '"' << c.text << '"';
    }
}

TEST(StoredFlag, IsSetWhenItsIntegerIsNotZero) {
    const std::pair<std::string_view, std::optional<bool>> cases[] = {
        {"0", false},   {"1", true},  {"2", true},           {"-1", true},
        {"0x0", false}, {"$1", true}, {"abc", std::nullopt}, {"true", std::nullopt},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(parseStoredFlag(text), expected) << text;
    }
    EXPECT_EQ(storedFlag(true), "1");
    EXPECT_EQ(storedFlag(false), "0");
}

TEST(StoredText, IsQuotedOnlyWhereTheFileWouldOtherwiseLoseSomething) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"Welcome to Home server", "Welcome to Home server"},
        {"", ""},
        {"a=b; c", "a=b; c"},
        {"\"", "\""},
        {"say \"hi\"", "say \"hi\""},
        {" lead", "\" lead\""},
        {"trail\t", "\"trail\t\""},
        {"\"quoted\"", "\"\"quoted\"\""},
        {"'single'", "\"'single'\""},
        {"two\r\nlines", "two  lines"},
    };
    for (const auto& [text, stored] : cases) {
        EXPECT_EQ(storedText(text), stored) << text;
    }
}

TEST(StoredText, LosesOnePairOfEnclosingQuotesAsWindowsReadsIt) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"\"My Home\"", "My Home"},
        {"'My Home'", "My Home"},
        {"\"\"", ""},
        {"\"x'", "\"x'"},
        {"\"", "\""},
        {"plain", "plain"},
    };
    for (const auto& [stored, text] : cases) {
        EXPECT_EQ(textFromStored(stored), text) << stored;
    }
}

TEST(StoredTime, ReadsBackWhatItWroteUnderTheSameLocale) {
    const DateTimeFormat formats[] = {DateTimeFormat("%d.%m.%Y", "%H:%M:%S"),
                                      DateTimeFormat("%m/%d/%Y", "%I:%M:%S %p")};
    const TimeOfDay times[] = {{0, 0, 0}, {8, 30, 0}, {12, 0, 1}, {13, 5, 9}, {23, 59, 59}};
    for (const auto& format : formats) {
        for (const auto& time : times) {
            EXPECT_EQ(parseStoredTime(storedTime(time, format), format), time)
                << storedTime(time, format);
        }
    }
}

TEST(StoredTime, ReadsEitherClockFromAnotherLocaleAndNothingElse) {
    const DateTimeFormat twentyFour("%d.%m.%Y", "%H:%M:%S");
    const DateTimeFormat twelve("%m/%d/%Y", "%I:%M:%S %p");
    const TimeOfDay evening{20, 30, 0};
    EXPECT_EQ(parseStoredTime("08:30:00 PM", twentyFour), evening);
    EXPECT_EQ(parseStoredTime("20:30:00", twelve), evening);
    for (const std::string_view bad : {"abc", "", "25:00:00", "12:61:00", "8", "6:30:", "24:00"}) {
        EXPECT_EQ(parseStoredTime(bad, twentyFour), std::nullopt) << bad;
    }
}

TEST(StoredTime, ReadsAHandEditWithoutSeconds) {
    const DateTimeFormat twentyFour("%d.%m.%Y", "%H:%M:%S");
    const std::pair<std::string_view, TimeOfDay> cases[] = {
        {"6:30", {6, 30, 0}}, {"06:30", {6, 30, 0}},    {"23:59", {23, 59, 0}},
        {"0:00", {0, 0, 0}},  {"6:30 PM", {18, 30, 0}},
    };
    for (const auto& [text, time] : cases) {
        EXPECT_EQ(parseStoredTime(text, twentyFour), time) << text;
    }
}

}  // namespace
}  // namespace brevanto
