// The program's life without its window: construction, creation, the first
// show's auto-connect against the simulator, the display refresh, the tick
// and the close, as the main window drives them.
#include <gtest/gtest.h>

#include "hubbench.h"
#include "support/simsettings.h"

namespace brevanto {
namespace {

using testing::HubBench;

class HubTest : public HubBench {
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
    start();
    EXPECT_TRUE(std::filesystem::is_directory(dir / "Log"));
    EXPECT_EQ(captions, (std::vector<std::string>{"Brevanto 1.1.7.1 - by Corvella Software"}));
    EXPECT_EQ(clockTexts, (std::vector<std::string>{"07.03.2015 14:02:11"}));
    const PageTemplates& pages = hub->pages();
    EXPECT_EQ(pages.MainPage().line(pages.TemplateLine().mainFooter),
              "Brevanto v. 1.1.7.1 - by CorvellaSoft");
    EXPECT_EQ(pages.TimerPage().line(99), "Brevanto v. 1.1.7.1 - by CorvellaSoft");
    // Settings are loaded but not yet applied: that is the creation step's.
    EXPECT_EQ(pages.MainPage().line(pages.TemplateLine().heading), "Welcome to Quennick Server");
    EXPECT_FALSE(hub->Timer.enabled());
    EXPECT_FALSE(hub->Timer1.enabled());
    EXPECT_TRUE(hub->readerSuspended());
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
    const PageTemplates& pages = hub->pages();
    const TemplateLines& lines = pages.TemplateLine();
    EXPECT_EQ(pages.MainPage().line(lines.refresh),
              "<meta http-equiv=\"Content-Language\" content=\"en-gb\">");
    EXPECT_EQ(pages.MainPage().line(lines.title), "Brevanto");
    EXPECT_EQ(pages.MainPage().line(lines.heading), "Off-grid <home>");
    EXPECT_EQ(pages.MainPage().line(73), "Mains (V)");
    EXPECT_EQ(pages.MainPage().line(lines.nameVar[13]), "Inverter HS Temperature (C)");
    EXPECT_EQ(pages.MainPage().line(lines.name[1]), "Solar Power (W)");
    EXPECT_EQ(basicLabels[0], "Mains");
}

TEST_F(HubTest, TheFirstShowConnectsAndTheDisplayCarriesTheReadings) {
    connectToSimulator();
    EXPECT_TRUE(hasEvent(" port and Inverter."));
    EXPECT_TRUE(hub->Timer.enabled());
    ASSERT_TRUE(serveUntil([this] { return hub->readings().StatusValid; }));

    hub->TimerTimer();
    const DisplayTexts& shown = hub->shownTexts();
    EXPECT_EQ(shown.basic[kBatteryVoltage - 1], "52.10[52.20]");
    EXPECT_EQ(shown.basic[0], "238.3");
    EXPECT_EQ(shown.computed[0], "0.000");
    EXPECT_EQ(shown.mode, "Line (bypass)");
    ASSERT_FALSE(displays.empty());
    EXPECT_EQ(displays.back(), shown);
    const PageTemplates& pages = hub->pages();
    EXPECT_EQ(pages.MainPage().line(160), "52.10[52.20]");
    EXPECT_EQ(pages.MainPage().line(76), "238.3");
    EXPECT_EQ(pages.MainPage().line(185), "0.000");
    EXPECT_EQ(pages.MainPage().line(pages.TemplateLine().modeStatus), "Line (bypass)");
    EXPECT_EQ(pages.MainPage().line(35), hub->readings().MeasTimeText);

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
    EXPECT_TRUE(hub->Timer.enabled());
    EXPECT_EQ(hub->FormClose(), CloseOutcome::ToTray);
}

TEST_F(HubTest, CloseWithYesStopsTheReaderAndWritesTheDaysEvents) {
    connectToSimulator();
    ASSERT_TRUE(serveUntil([this] { return hub->loopCount() >= 1; }));
    hub->setReallyClose(true);
    EXPECT_EQ(hub->FormClose(), CloseOutcome::Closed);
    EXPECT_TRUE(hub->isShutDown());
    EXPECT_FALSE(hub->Timer.enabled());
    EXPECT_FALSE(hub->Timer1.enabled());
    EXPECT_EQ(hub->Timer1.interval(), 1000);
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
    prompts.queueAnswer(PromptAnswer::No);
    hub->Button4Click();
    EXPECT_EQ(events().size(), 1u);
    hub->Button4Click();
    EXPECT_TRUE(events().empty());
    EXPECT_EQ(prompts.questions(),
              (std::vector<std::string>(2, "Event log will be deleted. Are you sure?")));
}

TEST_F(HubTest, TheReqByWebBoxRunsItsHandlerOnlyWhenItChanges) {
    start("[Main]\nAutoReConnect=1\n");
    hub->FormCreate();
    hub->setReqByWebBox(false);
    EXPECT_TRUE(reqByWebBoxes.empty());
    hub->setReqByWebBox(true);
    EXPECT_EQ(reqByWebBoxes, (std::vector<bool>{true}));
    EXPECT_TRUE(hasEvent("Setting RequestByWeb option."));
    EXPECT_FALSE(hub->settings().AppSettings().autoReConnect);
    EXPECT_TRUE(hub->settings().AppSettings().reqByWeb);
    hub->ReqByWebClick(false);
    EXPECT_TRUE(hub->settings().AppSettings().autoReConnect);
}

TEST_F(HubTest, InTheReqByWebModeEachWebRequestBuysOneCycle) {
    connectToSimulator();
    hub->ReqByWebClick(true);
    ASSERT_TRUE(serveUntil([this] { return hub->readerSuspended(); }));
    const int cycles = hub->loopCount();
    hub->wakeReaderForWeb();
    ASSERT_TRUE(
        serveUntil([&] { return hub->loopCount() == cycles + 1 && hub->readerSuspended(); }));
    // Leaving the mode reads on by itself again.
    hub->ReqByWebClick(false);
    EXPECT_TRUE(serveUntil([&] { return hub->loopCount() >= cycles + 2; }));
}

TEST_F(HubTest, AWebRequestWakesNothingWhileTheLinkIsDown) {
    start();
    hub->FormCreate();
    hub->ReqByWebClick(true);
    hub->wakeReaderForWeb();
    EXPECT_TRUE(hub->readerSuspended());
    EXPECT_EQ(hub->loopCount(), 0);
}

}  // namespace
}  // namespace brevanto
