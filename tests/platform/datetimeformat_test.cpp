#include "platform/datetimeformat.h"

#include <gtest/gtest.h>

namespace brevanto {
namespace {

const LocalDateTime kAfternoon{{2015, 3, 7}, {14, 2, 11, 0}};

struct LocaleCase {
    const char* name;
    const char* datePattern;
    const char* timePattern;
    const char* expected;  // kAfternoon as a date-time text
};

// The C locale's two-digit year is widened, as every file name and stamp
// needs the century.
const LocaleCase kLocales[] = {
    {"german", "%d.%m.%Y", "%H:%M:%S", "07.03.2015 14:02:11"},
    {"c_locale", "%m/%d/%y", "%H:%M:%S", "03/07/2015 14:02:11"},
    {"us_english", "%m/%d/%Y", "%r", "03/07/2015 02:02:11 PM"},
    {"iso", "%F", "%T", "2015-03-07 14:02:11"},
    {"unpadded_day", "%-d/%m/%Y", "%H.%M.%S", "7/03/2015 14.02.11"},
    {"unknown_conversion_falls_back", "%b %d", "%Q", "07/03/2015 14:02:11"},
};

void PrintTo(const LocaleCase& c, std::ostream* out) {
    *out << c.name;
}

class DateTimeFormatLocales : public ::testing::TestWithParam<LocaleCase> {};

TEST_P(DateTimeFormatLocales, FormatsAndReadsBackWhatItWrote) {
    const LocaleCase& c = GetParam();
    const DateTimeFormat format(c.datePattern, c.timePattern);
    const std::string text = format.formatDateTime(kAfternoon);
    EXPECT_EQ(text, c.expected);
    EXPECT_EQ(format.parseDateTime(text), kAfternoon);

    for (const TimeOfDay time : {TimeOfDay{0, 0, 1}, TimeOfDay{12, 0, 0}, TimeOfDay{23, 59, 59}}) {
        EXPECT_EQ(format.parseTime(format.formatTime(time)), time) << format.formatTime(time);
    }
    for (const LocalDate date : {LocalDate{2016, 1, 1}, LocalDate{2024, 2, 29}}) {
        EXPECT_EQ(format.parseDate(format.formatDate(date)), date) << format.formatDate(date);
    }
}

INSTANTIATE_TEST_SUITE_P(Patterns, DateTimeFormatLocales, ::testing::ValuesIn(kLocales),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DateTimeFormat, ExactMidnightIsTheDateAlone) {
    const DateTimeFormat format("%d.%m.%Y", "%H:%M:%S");
    EXPECT_EQ(format.formatDateTime({{2015, 3, 8}, {0, 0, 0, 0}}), "08.03.2015");
    EXPECT_EQ(format.formatDateTime({{2015, 3, 8}, {0, 0, 0, 1}}), "08.03.2015 00:00:00");
    EXPECT_EQ(format.parseDateTime("08.03.2015"), (LocalDateTime{{2015, 3, 8}, {}}));
}

TEST(DateTimeFormat, ReadsLeadingZerosLeftOutAndRefusesNonsense) {
    const DateTimeFormat format("%d.%m.%Y", "%H:%M:%S");
    EXPECT_EQ(format.parseTime("7:05:00"), (TimeOfDay{7, 5, 0}));
    EXPECT_EQ(format.parseTime(" 07:05:00 "), (TimeOfDay{7, 5, 0}));
    EXPECT_EQ(format.parseDate("1.1.2016"), (LocalDate{2016, 1, 1}));
    for (const char* bad : {"", "abc", "24:00:00", "12:60:00", "12:00", "12:00:00x", "1:2:3:4"}) {
        EXPECT_FALSE(format.parseTime(bad)) << bad;
    }
    for (const char* bad : {"31.02.2015", "0.1.2015", "1.13.2015", "1.1", "x.1.2015"}) {
        EXPECT_FALSE(format.parseDate(bad)) << bad;
    }
}

TEST(DateTimeFormat, TwelveHourClockKnowsNoonAndMidnight) {
    const DateTimeFormat format("%m/%d/%Y", "%I:%M:%S %p");
    EXPECT_EQ(format.formatTime({0, 30, 0}), "12:30:00 AM");
    EXPECT_EQ(format.formatTime({12, 30, 0}), "12:30:00 PM");
    EXPECT_EQ(format.parseTime("12:30:00 am"), (TimeOfDay{0, 30, 0}));
    EXPECT_EQ(format.parseTime("1:30:00 PM"), (TimeOfDay{13, 30, 0}));
    EXPECT_FALSE(format.parseTime("13:30:00 PM"));
}

TEST(DateTimeFormat, TimeSeparatorComesFromTheLongTime) {
    EXPECT_EQ(DateTimeFormat("%d.%m.%Y", "%H:%M:%S").timeSeparator(), ':');
    EXPECT_EQ(DateTimeFormat("%d.%m.%Y", "%H.%M.%S").timeSeparator(), '.');
}

TEST(DateTimeFormat, EnvironmentFormatsRoundTrip) {
    const DateTimeFormat format = DateTimeFormat::fromEnvironment();
    EXPECT_EQ(format.parseDateTime(format.formatDateTime(kAfternoon)), kAfternoon);
}

}  // namespace
}  // namespace brevanto
