// What the index settings stand for: the main page's refresh line and the
// note beside the measurement time for every RefreshWeb index.
#include "store/settingsintervals.h"

#include <gtest/gtest.h>

namespace brevanto {
namespace {

constexpr const char* kLanguage = R"(<meta http-equiv="Content-Language" content="en-gb">)";

std::string refreshingEvery(const char* seconds) {
    return std::string(kLanguage) + R"( <meta http-equiv="refresh" content=")" + seconds + R"(">)";
}

TEST(SettingsIntervals, EachRefreshIndexRefreshesThePageAsItsNoteSays) {
    struct Case {
        std::int32_t index;
        std::string pageLine;
        const char* note;
    };
    const Case cases[] = {
        {0, refreshingEvery("1"), " (Refresh = 1 sec.)"},
        {1, refreshingEvery("2"), " (Refresh = 2 sec.)"},
        {2, refreshingEvery("3"), " (Refresh = 3 sec.)"},
        {3, refreshingEvery("5"), " (Refresh = 5 sec.)"},
        {4, refreshingEvery("10"), " (Refresh = 10 sec.)"},
        {5, refreshingEvery("60"), " (Refresh = 60 sec.)"},
        {6, kLanguage, " (Refresh = manually)"},
        {7, refreshingEvery("1"), " (Refresh = 1 sec.)"},
        {-1, refreshingEvery("1"), " (Refresh = 1 sec.)"},
    };
    for (const Case& refresh : cases) {
        const RefreshChoice choice = refreshChoice(refresh.index);
        EXPECT_EQ(choice.pageLine, refresh.pageLine) << refresh.index;
        EXPECT_EQ(choice.refreshNote, refresh.note) << refresh.index;
    }
}

}  // namespace
}  // namespace brevanto
