// The program's life without its window: construction, creation, the first
// show's auto-connect against the simulator, the display refresh, the tick
// and the close, as the main window drives them.
#include <gtest/gtest.h>

#include "hubfixture.h"
#include "support/simsettings.h"

namespace brevanto {
namespace {

using testing::HubFixture;

class HubTest : public HubFixture {
protected:
    void connectToSimulator() {
        placeSimulator();
        ASSERT_EQ(sim->command(std::string("qpigs ") + testing::kBatteryReadingPayload), "ok");
        start(testing::kAutoConnectToCom1);
        hub->FormCreate();
        hub->FormShow();
        ASSERT_TRUE(serveUntil([this] { return hub->linkState().labelCaption() == "Connected"; }));
    }
};

TEST_F(HubTest, ConstructionBuildsTheStateInItsOrder) {
    start("[Main]\nUpdateLog=4\n");
    EXPECT_TRUE(std::filesystem::is_directory(dir / "Log"));
    EXPECT_EQ(hub->display().clockText(), "07.03.2015 14:02:11");
    const PageTemplates& pages = hub->pages();
    EXPECT_EQ(mainPageLine(lines().mainFooter),
              R"(Brevanto v. 1.1.7.1 - by CorvellaSoft - <a href="/Chart">Day chart</a>)");
    EXPECT_EQ(pages.TimerPage().line(lines().timerFooter), "Brevanto v. 1.1.7.1 - by CorvellaSoft");
    // Loading sets the log interval; the rest of the settings is applied by
    // the creation step.
    EXPECT_EQ(hub->timers().Timer3.interval(), 950000);
    EXPECT_EQ(mainPageLine(lines().heading), "Welcome to Quennick Server");
    EXPECT_FALSE(hub->timers().Timer.enabled());
    EXPECT_FALSE(hub->timers().Timer1.enabled());
    EXPECT_TRUE(hub->acquisition().suspended());
    EXPECT_TRUE(prompts.messages().empty());
}

TEST_F(HubTest, ALogDirectoryThatCannotBeMadeIsSaidAndTheProgramGoesOn) {
    testing::writeFile(dir / "Log", "a file where the directory belongs");
    start();
    EXPECT_EQ(prompts.messages(),
              (std::vector<std::string>{
                  "Cannot create Directory for log file. Current directory will be used."}));
    hub->FormCreate();
    EXPECT_EQ(hub->eventLog().currentPath().parent_path(), std::filesystem::path());
}

TEST_F(HubTest, CreationReloadsTodaysEventsAndAppliesTheSettings) {
    start("[Main]\nRefreshWeb=6\n[BasicInfo]\nAC Voltage=Mains\n[Http]\nTitle=Off-grid <home>\n");
    hub->eventLog().NameEventFile();
    testing::writeFile(eventFile(), "[07.03.2015 09:00:00] earlier today \r\n");
    hub->FormCreate();
    EXPECT_EQ(events(), (std::vector<std::string>{"[07.03.2015 09:00:00] earlier today "}));
    EXPECT_EQ(mainPageLine(lines().refresh),
              "<meta http-equiv=\"Content-Language\" content=\"en-gb\">");
    EXPECT_EQ(mainPageLine(lines().title), "Brevanto");
    EXPECT_EQ(mainPageLine(lines().heading), "Off-grid <home>");
    EXPECT_EQ(mainPageLine(lines().nameVar[0]), "Mains (V)");
    EXPECT_EQ(mainPageLine(lines().nameVar[13]), "Inverter HS Temperature (C)");
    EXPECT_EQ(mainPageLine(lines().name[1]), "Solar Power (W)");
    EXPECT_EQ(labels.basic[0], "Mains");
    EXPECT_EQ(labels.computed[1], "Solar Power");
    EXPECT_EQ(labels.units[1], "W");
    EXPECT_EQ(hub->timers().Timer1.interval(), 5000);
}

TEST_F(HubTest, AWebPortThatIsNoNumberIsSaidAndEverythingElseStillApplies) {
    start("[Main]\nMeasTime=7\n[Http]\nPort=eighty\n[ComputedInfo]\nAux1=Sun today\n");
    hub->FormCreate();
    EXPECT_TRUE(hasEvent("Failed to activate WEB server."));
    EXPECT_EQ(hub->timers().Timer1.interval(), 3600000);
    EXPECT_EQ(labels.computed[0], "Sun today");
    EXPECT_EQ(mainPageLine(lines().name[0]), "Sun today (kWh)");
}

TEST_F(HubTest, TheFirstShowConnectsAndTheDisplayCarriesTheReadings) {
    connectToSimulator();
    EXPECT_TRUE(hasEvent(" port and Inverter."));
    EXPECT_TRUE(hub->timers().Timer.enabled());
    ASSERT_TRUE(serveUntil([this] { return hub->acquisition().readings().StatusValid; }));

    hub->TimerTimer();
    const DisplayTexts& shown = hub->display().texts();
    EXPECT_EQ(shown.basic[kBatteryVoltage - 1], "52.10[52.20]");
    EXPECT_EQ(shown.basic[0], "238.3");
    EXPECT_EQ(shown.computed[0], "0.000");
    EXPECT_EQ(shown.mode, "Line (bypass)");
    ASSERT_FALSE(displays.empty());
    EXPECT_EQ(displays.back(), shown);
    EXPECT_EQ(mainPageLine(lines().bVar[kBatteryVoltage - 1]), "52.10[52.20]");
    EXPECT_EQ(mainPageLine(lines().bVar[0]), "238.3");
    EXPECT_EQ(mainPageLine(lines().var[0]), "0.000");
    EXPECT_EQ(mainPageLine(lines().modeStatus), "Line (bypass)");
    EXPECT_EQ(mainPageLine(lines().timeStamp), hub->acquisition().readings().MeasTimeText);

    // A later show, back from the tray, connects nothing again.
    hub->FormShow();
    EXPECT_TRUE(hub->linkState().connected());
}

TEST_F(HubTest, OnlyAReallyMeantCloseAsksAndNoKeepsEverythingRunning) {
    connectToSimulator();
    EXPECT_EQ(hub->FormClose(), CloseOutcome::ToTray);
    EXPECT_TRUE(prompts.questions().empty());

    hub->setReallyClose(true);
    prompts.queueAnswer(PromptAnswer::No);
    EXPECT_EQ(hub->FormClose(), CloseOutcome::Aborted);
    EXPECT_EQ(prompts.questions(), (std::vector<std::string>{"Close Brevanto?"}));
    EXPECT_TRUE(hasEvent("Closing program aborted."));
    EXPECT_FALSE(hub->ReallyClose());
    EXPECT_TRUE(hub->timers().Timer.enabled());
    EXPECT_EQ(hub->FormClose(), CloseOutcome::ToTray);
}

TEST_F(HubTest, CloseWithYesStopsTheReaderAndWritesTheDaysEvents) {
    connectToSimulator();
    ASSERT_TRUE(serveUntil([this] { return hub->acquisition().loopCount() >= 1; }));
    hub->setReallyClose(true);
    EXPECT_EQ(hub->FormClose(), CloseOutcome::Closed);
    EXPECT_TRUE(hub->isShutDown());
    EXPECT_FALSE(hub->timers().Timer.enabled());
    EXPECT_FALSE(hub->timers().Timer1.enabled());
    EXPECT_EQ(hub->timers().Timer1.interval(), 1000);
    const std::string saved = testing::readFile(eventFile());
    EXPECT_NE(saved.find(" port and Inverter. \r\n"), std::string::npos);
    // The port is free again for whoever comes next.
    InverterLink other{prompts, hub->eventLog(), [] { return false; }, [] { return false; }};
    EXPECT_EQ(other.open(sim->linkPath().string()), 0);
}

TEST_F(HubTest, WithTheEventLogOffClosingWritesNoEventFile) {
    start("[LogIn]\nLogEvent=0\n");
    hub->FormCreate();
    hub->ShutDown();
    EXPECT_FALSE(std::filesystem::exists(eventFile()));
}

TEST_F(HubTest, ClearAsksAndKeepsTheFile) {
    start();
    hub->FormCreate();
    hub->eventLog().WriteEvent("something");
    ASSERT_TRUE(hub->eventLog().SaveEventLog());
    const std::string saved = testing::readFile(eventFile());
    ASSERT_NE(saved.find("something"), std::string::npos);
    prompts.queueAnswer(PromptAnswer::No);
    hub->Button4Click();
    EXPECT_EQ(events().size(), 1u);
    hub->Button4Click();
    EXPECT_TRUE(events().empty());
    EXPECT_EQ(prompts.questions(),
              (std::vector<std::string>(2, "Event log will be deleted. Are you sure?")));
    EXPECT_EQ(testing::readFile(eventFile()), saved);
}

TEST_F(HubTest, ATimeThatDoesNotReadIsNamedAfterTheDaysEventsAreReadBack) {
    const auto todaysFile = dir / "Log/LogEvent/2015/3/7/EventLog7-3-2015.txt";
    std::filesystem::create_directories(todaysFile.parent_path());
    testing::writeFile(todaysFile, "[earlier] written this morning \r\n");
    start("[Timer]\nTime A ON=6:30\nTime B OFF=half past six\n");
    hub->FormCreate();
    EXPECT_EQ(events(), (std::vector<std::string>{
                            "[earlier] written this morning ",
                            "[07.03.2015 14:02:11] Settings file: [Timer] Time B "
                            "OFF=half past six is no time of day; 00:00:00 is used. "}));
    EXPECT_EQ(hub->settings().AppSettings().timeOn[0].time, (TimeOfDay{6, 30, 0}));
}

TEST_F(HubTest, TheReqByWebBoxRunsItsHandlerOnlyWhenItChanges) {
    start("[Main]\nAutoReConnect=1\n");
    hub->FormCreate();
    hub->reqByWeb().setBox(false);
    EXPECT_TRUE(reqByWebBoxes.empty());
    hub->reqByWeb().setBox(true);
    EXPECT_EQ(reqByWebBoxes, (std::vector<bool>{true}));
    EXPECT_TRUE(hasEvent("Setting RequestByWeb option."));
    EXPECT_FALSE(hub->settings().AppSettings().autoReConnect);
    EXPECT_TRUE(hub->settings().AppSettings().reqByWeb);
    hub->reqByWeb().ReqByWebClick(false);
    EXPECT_TRUE(hub->settings().AppSettings().autoReConnect);
}

TEST_F(HubTest, AStoredReqByWebHoldsFromTheStart) {
    start("[Main]\nAutoReConnect=1\n[Http]\nReqByWeb=1\n");
    hub->FormCreate();
    EXPECT_EQ(reqByWebBoxes, (std::vector<bool>{true}));
    EXPECT_TRUE(hub->reqByWeb().checked());
    EXPECT_TRUE(hasEvent("Setting RequestByWeb option."));
    EXPECT_FALSE(hub->settings().AppSettings().autoReConnect);
}

TEST_F(HubTest, TheDialogsBoxesFollowTheReqByWebBox) {
    start("[Main]\nAutoReConnect=1\n");
    hub->FormCreate();
    std::vector<std::string> dialog;
    hub->setSettingsDialog(
        {.reqByWeb = {
             .reqByWeb = [&](bool on) { dialog.push_back(on ? "web" : "-web"); },
             .autoReConnect = [&](bool on) { dialog.push_back(on ? "auto" : "-auto"); },
         }});
    hub->reqByWeb().ReqByWebClick(true);
    EXPECT_EQ(dialog, (std::vector<std::string>{"-auto", "web"}));
    dialog.clear();
    hub->reqByWeb().ReqByWebClick(false);
    EXPECT_EQ(dialog, (std::vector<std::string>{"auto", "auto", "-web"}));
}

TEST_F(HubTest, CommittingTheDialogsCopyAppliesAndSavesIt) {
    start();
    hub->FormCreate();
    TDati& pending = hub->settings().PendingSettings();
    pending.measTime = 3;
    pending.title = "Cabin";
    hub->CommitPendingSettings();
    EXPECT_EQ(hub->settings().AppSettings().title, "Cabin");
    EXPECT_EQ(hub->timers().Timer1.interval(), 10000);
    const std::string saved = testing::readFile(dir / "brevanto.INI");
    EXPECT_NE(saved.find("MeasTime=3"), std::string::npos) << saved;
    EXPECT_NE(saved.find("Title=Cabin"), std::string::npos) << saved;
}

TEST_F(HubTest, EveryFinishedReadingReachesThePanelsBeforeTheNextTick) {
    connectToSimulator();
    const std::size_t shown = displays.size();
    const int cycles = hub->acquisition().loopCount();
    ASSERT_TRUE(serveUntil([&] { return hub->acquisition().loopCount() >= cycles + 1; }));
    ASSERT_GT(displays.size(), shown);
    EXPECT_EQ(displays.back().basic[0], "238.3");
    EXPECT_EQ(mainPageLine(lines().bVar[0]), "238.3");
}

TEST_F(HubTest, InTheReqByWebModeEachWebRequestBuysOneCycle) {
    connectToSimulator();
    hub->reqByWeb().ReqByWebClick(true);
    ASSERT_TRUE(serveUntil([this] { return hub->acquisition().suspended(); }));
    const int cycles = hub->acquisition().loopCount();
    hub->acquisition().wakeForWeb();
    ASSERT_TRUE(serveUntil([&] {
        return hub->acquisition().loopCount() == cycles + 1 && hub->acquisition().suspended();
    }));
    // Leaving the mode reads on by itself again.
    hub->reqByWeb().ReqByWebClick(false);
    EXPECT_TRUE(serveUntil([&] { return hub->acquisition().loopCount() >= cycles + 2; }));
}

TEST_F(HubTest, AWebRequestWakesNothingWhileTheLinkIsDown) {
    start();
    hub->FormCreate();
    hub->reqByWeb().ReqByWebClick(true);
    hub->acquisition().wakeForWeb();
    EXPECT_TRUE(hub->acquisition().suspended());
    EXPECT_EQ(hub->acquisition().loopCount(), 0);
}

}  // namespace
}  // namespace brevanto
