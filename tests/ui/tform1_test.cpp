// The main window under the offscreen platform: its controls by name, the
// live values from the simulator, the tray, the close and the menus.
#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>

#include "formbench.h"
#include "support/simsettings.h"
#include "support/tempdir.h"

namespace brevanto {
namespace {

using testing::FormBench;

class TForm1Test : public FormBench {
protected:
    void showConnected() {
        placeSimulator();
        ASSERT_EQ(sim->command(std::string("qpigs ") + testing::kBatteryReadingPayload), "ok");
        create(testing::kAutoConnectToCom1);
        form->show();
        ASSERT_TRUE(spinUntil([this] { return panel("Label1") == QStringLiteral("Connected"); }));
    }
    void trigger(const char* action) { control<QAction>(action)->trigger(); }
};

TEST_F(TForm1Test, StartsWithEveryControlNamedAndCaptioned) {
    create();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Brevanto 1.1.7.1 - by Corvella Software"));
    EXPECT_EQ(form->centralWidget()->size(), QSize(844, 551));
    EXPECT_EQ(control<QPushButton>("Connect1")->text(), QStringLiteral("Connect"));
    EXPECT_TRUE(control<QPushButton>("Connect1")->font().bold() ||
                control<QPushButton>("Connect1")->property("role").toString() ==
                    QStringLiteral("primary"));
    EXPECT_EQ(panel("Label1"), QStringLiteral("---"));
    EXPECT_EQ(control<QCheckBox>("Test")->text(), QStringLiteral("Test mode"));
    EXPECT_EQ(panel("Panel3"), QStringLiteral("07.03.2015 14:02:11"));
    EXPECT_EQ(control<QGroupBox>("GroupBox1")->title(), QStringLiteral("Energy flow"));
    EXPECT_EQ(control<QGroupBox>("GroupBox7")->title(),
              QStringLiteral("Basic Information from inverter"));
    EXPECT_EQ(control<QGroupBox>("GroupBox2")->title(), QStringLiteral("Computed values"));
    EXPECT_EQ(control<QPushButton>("Button4")->text(), QStringLiteral("Clear>>"));
    EXPECT_EQ(control<QPushButton>("Button1")->text(), QStringLiteral("Check"));
    EXPECT_EQ(control<QCheckBox>("ReqByWeb")->text(),
              QStringLiteral("Read variables only when requested by web"));
    EXPECT_EQ(panel("Label49"), QStringLiteral("*Solar and Line  Energy = reset at Midnight*"));
    EXPECT_EQ(panel("Label50"), QStringLiteral("*Solar power : instantaneous value*"));
    for (const char* name :
         {"Label4",  "Label5",  "Panel6",  "Panel25", "Panel7",  "Panel1",  "Panel5",  "Panel8",
          "Panel13", "Panel15", "Panel12", "Panel11", "Panel10", "Panel9",  "Panel14", "Panel16",
          "Panel17", "Panel18", "Panel19", "Panel20", "Panel21", "Panel22", "Panel23", "Panel24"}) {
        EXPECT_EQ(panel(name), QStringLiteral("---")) << name;
    }
    // The labels as the settings name them.
    EXPECT_EQ(panel("Label2"), QStringLiteral("AC Voltage"));
    EXPECT_EQ(panel("Label19"), QStringLiteral("Solar Power"));
    EXPECT_EQ(panel("Label39"), QStringLiteral("W"));
}

TEST_F(TForm1Test, TheFirstShowConnectsAndTheTickShowsTheReadings) {
    showConnected();
    EXPECT_EQ(control<QPushButton>("Connect1")->text(), QStringLiteral("Disconnect"));
    EXPECT_FALSE(control<QCheckBox>("Test")->isEnabled());
    EXPECT_TRUE(hasEvent("Inverter connected."));
    ASSERT_TRUE(spinUntil([this] { return form->hub().readings().StatusValid; }));
    form->hub().TimerTimer();
    EXPECT_EQ(panel("Panel7"), QStringLiteral("52.10[52.20]"));
    EXPECT_EQ(panel("Label4"), QStringLiteral("238.3"));
    EXPECT_EQ(panel("Panel16"), QStringLiteral("0.000"));
    EXPECT_EQ(panel("Panel22"), QStringLiteral("Line (bypass)"));
    EXPECT_EQ(form->hub().pages().MainPage().line(160), "52.10[52.20]");
}

TEST_F(TForm1Test, TheCloseButtonGoesToTheTrayAndALeftClickBringsItBack) {
    create();
    form->show();
    EXPECT_FALSE(form->close());
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(form->trayIcon().isVisible());
    EXPECT_EQ(form->trayIcon().toolTip(), QStringLiteral("Brevanto is NOT running"));
    EXPECT_TRUE(prompts.questions().empty());

    emit form->trayIcon().activated(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->trayIcon().isVisible());
    const QList<QAction*> menu = form->trayMenu().actions();
    ASSERT_EQ(menu.size(), 2);
    EXPECT_EQ(menu[0]->text(), QStringLiteral("Restore"));
    EXPECT_EQ(menu[1]->text(), QStringLiteral("Close"));
}

TEST_F(TForm1Test, DecliningTheTrayMenusCloseKeepsTheIcon) {
    create();
    form->show();
    form->GoToTray();
    prompts.queueAnswer(PromptAnswer::No);
    form->trayMenu().actions()[1]->trigger();
    EXPECT_EQ(prompts.questions(), (std::vector<std::string>{"Close Brevanto?"}));
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(form->trayIcon().isVisible());
}

TEST_F(TForm1Test, TheTrayTipSaysWhatRuns) {
    create();
    form->show();
    control<QCheckBox>("Test")->click();
    control<QPushButton>("Connect1")->click();
    ASSERT_TRUE(spinUntil([this] { return panel("Label1") == QStringLiteral("Test Mode"); }));
    trigger("Tray");
    EXPECT_EQ(form->trayIcon().toolTip(), QStringLiteral("Brevanto running in TEST MODE"));
}

TEST_F(TForm1Test, WithoutATrayTheWindowIsMinimizedInstead) {
    create({}, false);
    form->show();
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->isMinimized());
    EXPECT_FALSE(form->trayIcon().isVisible());
}

TEST_F(TForm1Test, CloseAnsweredNoKeepsRunningAndYesWritesTheDaysEvents) {
    showConnected();
    QSignalSpy closed(form.get(), &TForm1::programClosed);
    prompts.queueAnswer(PromptAnswer::No);
    trigger("Close");
    EXPECT_EQ(prompts.questions(), (std::vector<std::string>{"Close Brevanto?"}));
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(spinUntil([this] { return hasEvent("Closing program aborted."); }));
    EXPECT_EQ(closed.count(), 0);
    // Declined once, the close button goes to the tray again.
    EXPECT_FALSE(form->close());
    EXPECT_EQ(prompts.questions().size(), 1u);

    trigger("Close");
    EXPECT_EQ(closed.count(), 1);
    EXPECT_TRUE(form->hub().isShutDown());
    const std::string saved = testing::readFile(dir.path() / form->hub().eventLog().currentPath());
    EXPECT_NE(saved.find("Closing program aborted. \r\n"), std::string::npos);
}

TEST_F(TForm1Test, ClearEmptiesThePaneOnlyWhenConfirmed) {
    create();
    form->hub().eventLog().WriteEvent("one");
    ASSERT_TRUE(spinUntil([this] { return paneLines().size() == 1; }));
    prompts.queueAnswer(PromptAnswer::No);
    control<QPushButton>("Button4")->click();
    spinUntil([] { return true; });
    EXPECT_EQ(paneLines().size(), 1);
    control<QPushButton>("Button4")->click();
    EXPECT_TRUE(spinUntil([this] { return paneLines().isEmpty(); }));
}

TEST_F(TForm1Test, GraphicsAndHelpAnswerThatTheyAreNotThereYet) {
    create();
    trigger("Graphics");
    trigger("Help");
    EXPECT_EQ(prompts.messages(), (std::vector<std::string>{"Graphics non yet implemented."}));
    EXPECT_EQ(prompts.warnings(), (std::vector<std::string>{"Not yet available."}));
}

}  // namespace
}  // namespace brevanto
