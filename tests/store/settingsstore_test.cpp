#include "store/settingsstore.h"

#include <gtest/gtest.h>

#include <limits>

#include "platform/testing/recordingeventsink.h"
#include "support/tempdir.h"

namespace brevanto {
namespace {

using testing::RecordingEventSink;
using testing::TempDir;

// Records what ApplySettings asks of the web server, in order.
class FakeWebServer final : public WebServerControl {
public:
    explicit FakeWebServer(std::vector<std::string>& calls) : m_calls(calls) {}
    bool isActive() const override { return m_active; }
    bool deactivate() override {
        m_calls.push_back("deactivate");
        m_active = false;
        return !failStop;
    }
    bool activate(int port) override {
        m_calls.push_back("activate " + std::to_string(port));
        m_active = !failStart;
        return !failStart;
    }

    bool failStop = false;
    bool failStart = false;

private:
    std::vector<std::string>& m_calls;
    bool m_active = false;
};

class SettingsStoreTest : public ::testing::Test {
protected:
    SettingsStoreTest() {
        Timer1.setInterval(1000);
        Timer3.setInterval(1000);
    }

    SettingsStore& store() {
        if (!m_store) {
            SettingsTargets targets{Timer1,
                                    Timer3,
                                    TimerOff,
                                    events,
                                    [this] { return testMode; },
                                    [this] { return connected; },
                                    seams};
            m_store.emplace(SettingsFile(ini(), DateTimeFormat("%d.%m.%Y", "%H:%M:%S")),
                            std::move(targets));
        }
        return *m_store;
    }
    std::filesystem::path ini() const { return m_dir / "brevanto.INI"; }
    void givenFile(std::string_view contents) const { testing::writeFile(ini(), contents); }
    SettingsStore& started(std::string_view contents) {
        givenFile(contents);
        store().LoadSettings();
        store().ApplySettings();
        return store();
    }

    TempDir m_dir;
    CoreTimer Timer1;
    CoreTimer Timer3;
    CoreTimer TimerOff;
    RecordingEventSink events;
    bool testMode = false;
    bool connected = false;
    ApplySeams seams;
    std::optional<SettingsStore> m_store;
};

TEST_F(SettingsStoreTest, StartingWithoutAFile) {
    std::string refreshLine;
    seams.mainPageRefreshLine = [&](const std::string& line) { refreshLine = line; };
    store().loadAtConstruction({2024, 5, 17});
    store().ApplySettings();
    const TDati& settings = store().AppSettings();

    EXPECT_EQ(Timer1.interval(), 5000);
    EXPECT_EQ(Timer3.interval(), 350000);
    EXPECT_EQ(refreshLine, R"(<meta http-equiv="Content-Language" content="en-gb"> )"
                           R"(<meta http-equiv="refresh" content="2">)");
    EXPECT_EQ(store().RefreshNote(), " (Refresh = 2 sec.)");
    EXPECT_EQ(settings.comPort, "COM1");
    EXPECT_TRUE(settings.logBasic && settings.logComputed && settings.logEvent &&
                settings.logEnergy);
    EXPECT_EQ(settings.mailOut, (std::array<bool, 5>{}));
    EXPECT_FALSE(settings.mailOnError);
    EXPECT_EQ(settings.timerEnabled, (std::array<bool, 4>{}));
    EXPECT_EQ(settings.title, "Welcome to Home server");
    EXPECT_FALSE(Timer1.enabled() || Timer3.enabled() || TimerOff.enabled());
    EXPECT_TRUE(events.messages().empty());
    EXPECT_FALSE(std::filesystem::exists(ini()));
}

TEST_F(SettingsStoreTest, UpdateLogSelectsTheLogInterval) {
    const std::pair<std::string_view, int> cases[] = {{"0", 60000},   {"2", 350000}, {"4", 950000},
                                                      {"7", 3600000}, {"9", 777},    {"-1", 777}};
    for (const auto& [index, interval] : cases) {
        Timer3.setInterval(777);
        started("[Main]\nUpdateLog=" + std::string(index) + "\n");
        EXPECT_EQ(Timer3.interval(), interval) << "UpdateLog=" << index;
    }
}

TEST_F(SettingsStoreTest, TestModeLogsEvery200Milliseconds) {
    testMode = true;
    started("[Main]\nUpdateLog=4\n");
    EXPECT_EQ(Timer3.interval(), 200);
}

TEST_F(SettingsStoreTest, MeasTimeSelectsTheMeasuringInterval) {
    const std::pair<std::string_view, int> cases[] = {{"0", 1000},    {"5", 60000}, {"6", 600000},
                                                      {"7", 3600000}, {"8", 777},   {"-3", 777}};
    for (const auto& [index, interval] : cases) {
        Timer1.setInterval(777);
        started("[Main]\nMeasTime=" + std::string(index) + "\n");
        EXPECT_EQ(Timer1.interval(), interval) << "MeasTime=" << index;
    }
}

TEST_F(SettingsStoreTest, RunningTimersRestartWithTheNewInterval) {
    Timer1.setEnabled(true);
    Timer3.setEnabled(true);
    std::vector<std::string> changes;
    Timer1.addChangeListener([&] {
        changes.push_back(std::to_string(Timer1.enabled()) + " " +
                          std::to_string(Timer1.interval()));
    });
    started("[Main]\nMeasTime=0\n");
    EXPECT_EQ(changes, (std::vector<std::string>{"0 1000", "1 1000"}));
    EXPECT_TRUE(Timer3.enabled());
}

struct OffTimerCase {
    std::string_view condition;
    bool connected;
    int interval;
    bool enabled;
    bool armed;
};

TEST_F(SettingsStoreTest, ConditionTimeArmsTheOffTimer) {
    constexpr int kLongest = std::numeric_limits<int>::max();
    const OffTimerCase cases[] = {
        {"Time=0", true, 0, false, false},
        {"Time=5", true, 5000, true, true},
        {"Time=5", false, 5000, false, true},
        {"Time=5\nForceON=1", true, 5000, true, false},
        {"Time=0\nForceON=1", true, 0, false, false},
        {"Time=-5", true, 0, false, false},
        {"Time=3000000", true, kLongest, true, true},
    };
    for (const auto& c : cases) {
        connected = c.connected;
        TimerOff.setEnabled(true);
        store().AppSettings().OffTimerArmed = !c.armed;
        started("[Condition]\n" + std::string(c.condition) + "\n");
        EXPECT_EQ(TimerOff.interval(), c.interval) << c.condition;
        EXPECT_EQ(TimerOff.enabled(), c.enabled) << c.condition;
        EXPECT_EQ(store().AppSettings().OffTimerArmed, c.armed) << c.condition;
    }
}

TEST_F(SettingsStoreTest, RefreshWebSelectsThePageLineAndTheNote) {
    const std::pair<std::string_view, std::string_view> notes[] = {
        {"0", " (Refresh = 1 sec.)"},   {"3", " (Refresh = 5 sec.)"},
        {"4", " (Refresh = 10 sec.)"},  {"5", " (Refresh = 60 sec.)"},
        {"6", " (Refresh = manually)"}, {"7", " (Refresh = 1 sec.)"},
        {"-1", " (Refresh = 1 sec.)"}};
    std::string line;
    seams.mainPageRefreshLine = [&](const std::string& text) { line = text; };
    for (const auto& [index, note] : notes) {
        started("[Main]\nRefreshWeb=" + std::string(index) + "\n");
        EXPECT_EQ(store().RefreshNote(), note) << index;
    }
    started("[Main]\nRefreshWeb=6\n");
    EXPECT_EQ(line, R"(<meta http-equiv="Content-Language" content="en-gb">)");
}

TEST_F(SettingsStoreTest, TheStepsRunInOrderAndTheBoxFollowsTheDialogsCopy) {
    std::vector<std::string> calls;
    FakeWebServer server(calls);
    auto record = [&calls](std::string name) {
        return [&calls, name](const TDati&) { calls.push_back(name); };
    };
    seams.webServer = &server;
    seams.mainPageTitle = record("title");
    seams.computedLabels = record("computed labels");
    seams.mainPageNames = record("page names");
    seams.basicLabels = record("basic labels");
    seams.mainPageRefreshLine = [&](const std::string&) { calls.push_back("refresh"); };
    seams.reqByWebBox = [&](bool checked) { calls.push_back("box " + std::to_string(checked)); };

    started("[Http]\nPort=8080\nReqByWeb=1\n");
    store().PendingSettings() = store().AppSettings();
    store().ApplySettings();

    EXPECT_EQ(calls, (std::vector<std::string>{
                         "activate 8080", "title", "computed labels", "page names", "basic labels",
                         "refresh", "box 0", "deactivate", "activate 8080", "title",
                         "computed labels", "page names", "basic labels", "refresh", "box 1"}));
}

TEST_F(SettingsStoreTest, WebServerTroubleIsReportedAndTheRestStillApplies) {
    std::vector<std::string> calls;
    FakeWebServer server(calls);
    seams.webServer = &server;
    started("[Http]\nPort=80\n");

    server.failStop = true;
    server.failStart = true;
    store().ApplySettings();
    EXPECT_EQ(events.messages(), (std::vector<std::string>{"Failed to DE-activate WEB server.",
                                                           "Failed to activate WEB server."}));

    events.clear();
    calls.clear();
    server.failStart = false;
    started("[Main]\nMeasTime=7\n[Http]\nPort=eighty\n");
    EXPECT_EQ(calls, std::vector<std::string>{});
    EXPECT_EQ(events.messages(), std::vector<std::string>{"Failed to activate WEB server."});
    EXPECT_EQ(Timer1.interval(), 3600000);
}

TEST_F(SettingsStoreTest, RemembersAutoReConnectAndAutoConnect) {
    started("[Main]\nAutoReConnect=1\nAutoConnect=1\n");
    EXPECT_TRUE(store().RememberedAutoReConnect());
    EXPECT_TRUE(store().AutoConnectPending());

    store().AppSettings().autoReConnect = false;
    store().ApplySettings();
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
