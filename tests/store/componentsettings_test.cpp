// What each component reads of the settings record.
#include "store/componentsettings.h"

#include <gtest/gtest.h>

namespace brevanto {
namespace {

TEST(ComponentSettings, TheReadingsCarryTheNoteOfTheChosenRefresh) {
    const std::pair<std::int32_t, std::string_view> notes[] = {
        {0, " (Refresh = 1 sec.)"},  {1, " (Refresh = 2 sec.)"},  {3, " (Refresh = 5 sec.)"},
        {4, " (Refresh = 10 sec.)"}, {5, " (Refresh = 60 sec.)"}, {6, " (Refresh = manually)"},
        {7, " (Refresh = 1 sec.)"},  {-1, " (Refresh = 1 sec.)"}};
    for (const auto& [index, note] : notes) {
        TDati settings;
        settings.refreshWeb = index;
        settings.measTime = 5;
        const ReadingSettings reading = readingSettings(settings);
        EXPECT_EQ(reading.refreshNote, note) << index;
        EXPECT_EQ(reading.measTime, 5);
    }
}

TEST(ComponentSettings, TheConnectionReadsThePortAndItsTwoFlags) {
    TDati settings;
    settings.comPort = "COM7";
    settings.comPortIndex = 7;
    settings.autoSearch = false;
    settings.autoReConnect = true;
    const ConnectionSettings connection = connectionSettings(settings);
    EXPECT_EQ(connection.comPort, "COM7");
    EXPECT_EQ(connection.comPortIndex, 7);
    EXPECT_FALSE(connection.autoSearch);
    EXPECT_TRUE(connection.autoReConnect);
}

}  // namespace
}  // namespace brevanto
