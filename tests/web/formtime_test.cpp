// The timer form's times: taking the eight characters behind a field's name
// and reading them as a time of day.
#include "web/formtime.h"

#include <gtest/gtest.h>

namespace brevanto {
namespace {

TEST(FormTime, TakesEightCharactersBehindTheNameAndItsEqualsSign) {
    struct Case {
        const char* body;
        std::optional<std::string> text;
    };
    const Case cases[] = {
        {"TAON=07.00.00&TAOFF=08.00.00", "07.00.00"},
        {"TAON=7.00.00&TAOFF=8.00.00", "7.00.00 "},
        {"TAON=&TAOFF=&TBON=", "&TAOFF= "},
        {"TAON=&TAOFF=", "&TAOFF="},
        {"C1TA=ON&TAON=07", "07"},
        {"x=TAON=", std::nullopt},
        {"x=TAON", std::nullopt},
        {"TAOFF=07.00.00", std::nullopt},
    };
    for (const Case& form : cases) {
        EXPECT_EQ(takeFormTime(form.body, "TAON"), form.text) << form.body;
    }
}

TEST(FormTime, ReadsTheLocalesSeparatorTheColonAndThePoint) {
    const DateTimeFormat colon("%d.%m.%Y", "%H:%M:%S");
    const DateTimeFormat point("%d.%m.%Y", "%H.%M.%S");
    const DateTimeFormat twelveHours("%m/%d/%Y", "%I:%M:%S %p");
    struct Case {
        const char* text;
        std::optional<TimeOfDay> time;
    };
    const Case cases[] = {
        {"07.00.00", TimeOfDay{7, 0, 0, 0}}, {"07:00:00", TimeOfDay{7, 0, 0, 0}},
        {"7.05.00 ", TimeOfDay{7, 5, 0, 0}}, {" 23:59.59", TimeOfDay{23, 59, 59, 0}},
        {"07%3A00%", std::nullopt},          {"24.00.00", std::nullopt},
        {"07.60.00", std::nullopt},          {"07.00", std::nullopt},
        {"07-00-00", std::nullopt},          {"", std::nullopt},
    };
    for (const DateTimeFormat* format : {&colon, &point, &twelveHours}) {
        for (const Case& entry : cases) {
            EXPECT_EQ(parseFormTime(entry.text, *format), entry.time) << "'" << entry.text << "'";
        }
    }
    EXPECT_EQ(parseFormTime("07.00.00 PM", twelveHours), (TimeOfDay{19, 0, 0, 0}));
}

}  // namespace
}  // namespace brevanto
