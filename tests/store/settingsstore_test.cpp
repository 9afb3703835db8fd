#include "store/settingsstore.h"

#include <gtest/gtest.h>

#include "platform/testing/recordingeventsink.h"
#include "support/tempdir.h"

namespace brevanto {
namespace {

using testing::RecordingEventSink;
using testing::TempDir;

class SettingsStoreTest : public ::testing::Test {
protected:
    SettingsStore& store() {
        if (!m_store) {
            m_store.emplace(SettingsFile(ini(), DateTimeFormat("%d.%m.%Y", "%H:%M:%S")), events);
        }
        return *m_store;
    }
    std::filesystem::path ini() const { return m_dir / "brevanto.INI"; }
    void givenFile(std::string_view contents) const { testing::writeFile(ini(), contents); }
    SettingsStore& started(std::string_view contents) {
        givenFile(contents);
        store().LoadSettings();
        return store();
    }

    TempDir m_dir;
    RecordingEventSink events;
    std::optional<SettingsStore> m_store;
};

TEST_F(SettingsStoreTest, StartingWithoutAFile) {
    store().loadAtConstruction({2024, 5, 17});
    const TDati& settings = store().AppSettings();

    EXPECT_EQ(settings.measTime, 2);
    EXPECT_EQ(settings.updateLog, 2);
    EXPECT_EQ(settings.refreshWeb, 1);
    EXPECT_EQ(settings.comPort, "COM1");
    EXPECT_TRUE(settings.logBasic && settings.logComputed && settings.logEvent &&
                settings.logEnergy);
    EXPECT_EQ(settings.mailOut, (std::array<bool, 5>{}));
    EXPECT_FALSE(settings.mailOnError);
    EXPECT_EQ(settings.timerEnabled, (std::array<bool, 4>{}));
    EXPECT_EQ(settings.title, "Welcome to Home server");
    EXPECT_TRUE(events.messages().empty());
    EXPECT_FALSE(std::filesystem::exists(ini()));
}

TEST_F(SettingsStoreTest, TheWebPortIs8080UnlessTheFileNamesOne) {
    EXPECT_EQ(started("").AppSettings().httpPort, "8080");
    EXPECT_EQ(started("[Http]\nPort=80\n").AppSettings().httpPort, "80");
}

TEST_F(SettingsStoreTest, RemembersAutoReConnectAndAutoConnect) {
    started("[Main]\nAutoReConnect=1\nAutoConnect=1\n");
    EXPECT_TRUE(store().RememberedAutoReConnect());
    EXPECT_TRUE(store().AutoConnectPending());

    store().AppSettings().autoReConnect = false;
    EXPECT_TRUE(store().RememberedAutoReConnect()) << "until the settings are applied";
    store().rememberAutoReConnect();
    EXPECT_FALSE(store().RememberedAutoReConnect());
    EXPECT_TRUE(store().AutoConnectPending());
}

TEST_F(SettingsStoreTest, TimerTimesLandOnTodayWithTheirStoredTimeOfDay) {
    givenFile("[Timer]\nTime A ON=06:30:00\nTime D OFF=22:15:05\n");
    const LocalDate today{2024, 3, 31};
    store().loadAtConstruction(today);
    const TDati& settings = store().AppSettings();
    EXPECT_EQ(settings.timeOn[0], (LocalDateTime{today, {6, 30, 0}}));
    EXPECT_EQ(settings.timeOff[3], (LocalDateTime{today, {22, 15, 5}}));
    for (int i = 1; i < 4; ++i) {
        EXPECT_EQ(settings.timeOn[i], (LocalDateTime{today, {}})) << i;
    }
}

TEST_F(SettingsStoreTest, ATimeThatDoesNotReadIsMidnightAndNamedOnce) {
    started(
        "[Timer]\nTime A ON=6:30\nTime B ON=noon\nTime C OFF=07:15:00\nTime D OFF=25:00\n"
        "[Main]\nMeasTime=fast\n");
    const TDati& settings = store().AppSettings();
    EXPECT_EQ(settings.timeOn[0].time, (TimeOfDay{6, 30, 0}));
    EXPECT_EQ(settings.timeOn[1].time, TimeOfDay{});
    EXPECT_EQ(settings.timeOff[2].time, (TimeOfDay{7, 15, 0}));
    EXPECT_EQ(settings.timeOff[3].time, TimeOfDay{});
    EXPECT_TRUE(events.messages().empty()) << "not before the journal is read back";
    store().reportUnreadTimes();
    // An integer that does not read still takes its default without a word.
    const std::vector<std::string> expected = {
        "Settings file: [Timer] Time B ON=noon is no time of day; 00:00:00 is used.",
        "Settings file: [Timer] Time D OFF=25:00 is no time of day; 00:00:00 is used."};
    EXPECT_EQ(events.messages(), expected);
    store().reportUnreadTimes();
    EXPECT_EQ(events.messages(), expected) << "each is told once";
}

TEST_F(SettingsStoreTest, ASaveThatFailsIsReported) {
    store().AppSettings().measTime = 7;
    ASSERT_TRUE(store().SaveSettings());
    EXPECT_TRUE(events.messages().empty());

    std::filesystem::create_directory(ini().string() + ".tmp");
    store().AppSettings().measTime = 1;
    EXPECT_FALSE(store().SaveSettings());
    EXPECT_EQ(events.messages(), std::vector<std::string>{"Error writing settings file."});
    store().LoadSettings();
    EXPECT_EQ(store().AppSettings().measTime, 7);
}

}  // namespace
}  // namespace brevanto
