#include "platform/numberformat.h"

#include <gtest/gtest.h>

namespace brevanto {
namespace {

TEST(NumberFormat, FixedDecimalsWithAPoint) {
    EXPECT_EQ(formatFixed(1.23456, 3), "1.235");
    EXPECT_EQ(formatFixed(0, 3), "0.000");
    EXPECT_EQ(formatFixed(-0.0001, 3), "0.000");
    EXPECT_EQ(formatFixed(-2.5, 1), "-2.5");
    EXPECT_EQ(formatFixed(52.1, 2), "52.10");
    EXPECT_EQ(formatFixed(1234567.0, 0), "1234567");
}

TEST(NumberFormat, ParsesWhatTheInverterAndTheFilesHold) {
    struct Case {
        const char* text;
        std::optional<double> value;
    };
    const Case cases[] = {
        {".5", 0.5},     {"50.0", 50.0}, {"-05.5", -5.5}, {" 230.2 ", 230.2}, {"+3", 3.0},
        {"1e3", 1000.0}, {"", {}},       {".", {}},       {"1,5", {}},        {"12a", {}},
        {"--1", {}},     {"+-1", {}},    {"nan", {}},     {"inf", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(parseNumber(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(NumberFormat, ReadsTheNumberATextStartsWith) {
    struct Case {
        const char* text;
        std::optional<double> value;
    };
    const Case cases[] = {
        {"52.10[52.20]", 52.1},
        {" 0322", 322.0},
        {"12a", 12.0},
        {"---", {}},
        {"", {}},
        {"nan", {}},
        {"[5]", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(parseLeadingNumber(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(NumberFormat, RoundTripsThreeDecimals) {
    for (const double value : {0.001, 12.345, 99999.999, -7.25}) {
        EXPECT_EQ(parseNumber(formatFixed(value, 3)), value);
    }
}

TEST(NumberFormat, Integers) {
    EXPECT_EQ(parseInteger("42"), 42);
    EXPECT_EQ(parseInteger(" -7 "), -7);
    EXPECT_EQ(parseInteger("+8"), 8);
    EXPECT_FALSE(parseInteger("4.2"));
    EXPECT_FALSE(parseInteger(""));
    EXPECT_FALSE(parseInteger("99999999999999999999999"));
}

}  // namespace
}  // namespace brevanto
