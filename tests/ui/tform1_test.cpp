// The main window under the offscreen platform: its controls by name, the
// hub's texts in the right panels, the tray, the close and the menus.
#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "formfixture.h"
#include "support/tempdir.h"

namespace brevanto {
namespace {

using testing::FormFixture;

class TForm1Test : public FormFixture {
protected:
    void trigger(const char* action) { control<QAction>(action)->trigger(); }
    // Shown and laid out as the program shows it, style sheet and all.
    void showInTheProgramsStyle() {
        create();
        form->setStyleSheet(testing::amethystSheet());
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
};

// Each panel in the order the hub computes them: basic variables 1 to 15,
// then the six computed values.
constexpr const char* kValuePanels[] = {
    "Label4",  "Label5",  "Panel6",  "Panel25", "Panel7",  "Panel1",  "Panel5",
    "Panel8",  "Panel13", "Panel15", "Panel12", "Panel11", "Panel10", "Panel9",
    "Panel14", "Panel16", "Panel17", "Panel18", "Panel19", "Panel20", "Panel21"};

TEST_F(TForm1Test, StartsWithEveryControlNamedAndCaptioned) {
    create();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Brevanto 1.1.7.1 - by Corvella Software"));
    EXPECT_EQ(form->centralWidget()->size(), QSize(844, 551));
    EXPECT_EQ(control<QPushButton>("Connect1")->text(), QStringLiteral("Connect"));
    EXPECT_EQ(panel("Label1"), QStringLiteral("---"));
    EXPECT_EQ(control<QCheckBox>("Test")->text(), QStringLiteral("Test mode"));
    EXPECT_EQ(panel("Panel3"), QStringLiteral("07.03.2015 14:02:11"));
    EXPECT_EQ(control<QGroupBox>("GroupBox1")->title(), QStringLiteral("Energy flow"));
    EXPECT_EQ(control<QGroupBox>("GroupBox7")->title(),
              QStringLiteral("Basic Information from inverter"));
    // Since when the totals count: today, with no totals file yet.
    EXPECT_EQ(control<QGroupBox>("GroupBox2")->title(),
              QStringLiteral("Computed values ( [A] and [B] from 07.03.2015 )"));
    EXPECT_EQ(control<QPushButton>("Button4")->text(), QStringLiteral("Clear>>"));
    EXPECT_EQ(control<QPushButton>("Button1")->text(), QStringLiteral("Check"));
    EXPECT_EQ(control<QCheckBox>("ReqByWeb")->text(),
              QStringLiteral("Read variables only when requested by web"));
    EXPECT_EQ(panel("Label49"), QStringLiteral("*Solar and Line  Energy = reset at Midnight*"));
    EXPECT_EQ(panel("Label50"), QStringLiteral("*Solar power : instantaneous value*"));
    for (const char* name : kValuePanels) {
        EXPECT_EQ(panel(name), QStringLiteral("---")) << name;
    }
    for (const char* name : {"Panel22", "Panel23", "Panel24"}) {
        EXPECT_EQ(panel(name), QStringLiteral("---")) << name;
    }
    // The labels as the settings name them.
    EXPECT_EQ(panel("Label2"), QStringLiteral("AC Voltage"));
    EXPECT_EQ(panel("Label19"), QStringLiteral("Solar Power"));
    EXPECT_EQ(panel("Label39"), QStringLiteral("W"));
}

TEST_F(TForm1Test, TheConnectButtonIsBoldInTheProgramsStyle) {
    create();
    form->setStyleSheet(testing::amethystSheet());
    QPushButton* connect = control<QPushButton>("Connect1");
    connect->ensurePolished();
    EXPECT_TRUE(connect->font().bold());
    EXPECT_FALSE(control<QPushButton>("Button1")->font().bold());
}

// Every value the window shows: its panel, its caption (none for the three
// states), and its line on the main page.
struct ShownValue {
    const char* panel;
    const char* caption;
    std::size_t TemplateLines::*line;
    std::size_t index;
};

std::vector<ShownValue> everyShownValue() {
    const char* basicCaptions[] = {"Label2",  "Label3",  "Label6",  "Label47", "Label7",
                                   "Label8",  "Label9",  "Label10", "Label12", "Label11",
                                   "Label13", "Label14", "Label15", "Label16", "Label17"};
    const char* computedCaptions[] = {"Label18", "Label19", "Label20",
                                      "Label21", "Label22", "Label23"};
    std::vector<ShownValue> shown;
    for (std::size_t i = 0; i < std::size(basicCaptions); ++i) {
        shown.push_back({kValuePanels[i], basicCaptions[i], nullptr, i});
    }
    for (std::size_t i = 0; i < std::size(computedCaptions); ++i) {
        shown.push_back({kValuePanels[std::size(basicCaptions) + i], computedCaptions[i], nullptr,
                         std::size(basicCaptions) + i});
    }
    shown.push_back({"Panel22", nullptr, &TemplateLines::modeStatus, 0});
    shown.push_back({"Panel23", nullptr, &TemplateLines::batteryStatus, 0});
    shown.push_back({"Panel24", nullptr, &TemplateLines::loadStatus, 0});
    return shown;
}

TEST_F(TForm1Test, EveryValueReachesItsOwnPanelCaptionAndPageLine) {
    create();
    DisplayTexts texts;
    DisplayLabels labels;
    for (std::size_t i = 0; i < texts.basic.size(); ++i) {
        texts.basic[i] = "basic " + std::to_string(i + 1);
        labels.basic[i] = "name " + std::to_string(i + 1);
    }
    for (std::size_t i = 0; i < texts.computed.size(); ++i) {
        texts.computed[i] = "computed " + std::to_string(i + 1);
        labels.computed[i] = "aux " + std::to_string(i + 1);
        labels.units[i] = "unit " + std::to_string(i + 1);
    }
    texts.mode = "Line (bypass)";
    texts.battery = "Charging";
    texts.load = "Load on line";
    // What UpdateDisplay and the settings hand the page and the window.
    MainDisplay& display = hub->display();
    display.page().writeDisplay(texts, "07.03.2015 - 14:02:11");
    display.textsListeners().notify(texts);
    display.labelsListeners().notify(labels);

    const TemplateLines& at = hub->pages().TemplateLine();
    const std::size_t basicCount = texts.basic.size();
    for (const ShownValue& value : everyShownValue()) {
        SCOPED_TRACE(value.panel);
        std::string text;
        std::size_t line = 0;
        if (value.line != nullptr) {
            line = at.*value.line;
            text = value.line == &TemplateLines::modeStatus      ? texts.mode
                   : value.line == &TemplateLines::batteryStatus ? texts.battery
                                                                 : texts.load;
        } else if (value.index < basicCount) {
            line = at.bVar[value.index];
            text = texts.basic[value.index];
            EXPECT_EQ(panel(value.caption), QString::fromStdString(labels.basic[value.index]));
        } else {
            const std::size_t k = value.index - basicCount;
            line = at.var[k];
            text = texts.computed[k];
            EXPECT_EQ(panel(value.caption), QString::fromStdString(labels.computed[k]));
        }
        EXPECT_EQ(panel(value.panel), QString::fromStdString(text));
        EXPECT_EQ(hub->pages().MainPage().line(line), text);
    }
    const char* units[] = {"Label38", "Label39", "Label40", "Label41", "Label42", "Label43"};
    for (std::size_t i = 0; i < std::size(units); ++i) {
        EXPECT_EQ(panel(units[i]), QString::fromStdString(labels.units[i])) << units[i];
    }
}

TEST_F(TForm1Test, AJournalLineShowsWholeInTheProgramsStyle) {
    ASSERT_NO_FATAL_FAILURE(showInTheProgramsStyle());
    auto* memo = control<QListView>("Memo1");
    const QString line =
        QStringLiteral("[10/12/2026 09:53:22] Connected to /dev/ttyUSB0 port and Inverter. ");
    EXPECT_GE(memo->viewport()->width(), memo->fontMetrics().horizontalAdvance(line));
}

TEST_F(TForm1Test, ALongCaptionIsCutAndWholeInItsTipAndItsUnitStaysBesideThePanel) {
    ASSERT_NO_FATAL_FAILURE(showInTheProgramsStyle());
    DisplayLabels labels;
    labels.basic.fill("AC Voltage");
    labels.computed.fill("Solar Power");
    labels.units.fill("kWh");
    labels.basic[13] = "Inverter Heat Sink temperature";
    labels.computed[4] = "Total solar energy since day 1";
    hub->display().labelsListeners().notify(labels);

    for (const auto& [caption, whole] :
         {std::pair{"Label16", labels.basic[13]}, std::pair{"Label22", labels.computed[4]}}) {
        const QString wanted = QString::fromStdString(whole);
        EXPECT_TRUE(panel(caption).endsWith(QChar(0x2026))) << caption;
        EXPECT_EQ(control<QLabel>(caption)->toolTip(), wanted) << caption;
    }
    EXPECT_EQ(panel("Label2"), QStringLiteral("AC Voltage"));
    EXPECT_TRUE(control<QLabel>("Label2")->toolTip().isEmpty());
    const QRect value = control<QLabel>("Panel9")->geometry();
    const QRect unit = control<QLabel>("BasicUnit14")->geometry();
    EXPECT_FALSE(value.intersects(unit));
    EXPECT_GE(unit.left(), value.right());
}

TEST_F(TForm1Test, TheLinkControlsFollowTheLinkState) {
    create();
    LinkState& link = hub->linkState();
    link.setLabelCaption("Error");
    link.setPhase(LinkPhase::Failed);
    link.setTestEnabled(false);
    ASSERT_TRUE(spinUntil([this] { return panel("Label1") == QStringLiteral("Error"); }));
    EXPECT_EQ(control<QLabel>("Label1")->property("state").toString(), QStringLiteral("failed"));
    EXPECT_EQ(control<QPushButton>("Connect1")->text(), QStringLiteral("Connect"));
    EXPECT_FALSE(control<QCheckBox>("Test")->isEnabled());

    link.setLabelCaption("Connected");
    link.setPhase(LinkPhase::Running);
    ASSERT_TRUE(spinUntil([this] { return panel("Label1") == QStringLiteral("Connected"); }));
    EXPECT_EQ(control<QLabel>("Label1")->property("state").toString(), QStringLiteral("running"));
    EXPECT_EQ(control<QPushButton>("Connect1")->text(), QStringLiteral("Disconnect"));
}

TEST_F(TForm1Test, TheClockAndTheReqByWebBoxShowWhatTheHubSets) {
    create();
    clock.advance(std::chrono::seconds(60));
    hub->display().showClock();
    EXPECT_EQ(panel("Panel3"), QStringLiteral("07.03.2015 14:03:11"));
    hub->reqByWeb().setBox(true);
    EXPECT_TRUE(control<QCheckBox>("ReqByWeb")->isChecked());
    // A click runs the handler; the box is the hub's state.
    control<QCheckBox>("ReqByWeb")->click();
    EXPECT_FALSE(hub->reqByWeb().checked());
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

TEST_F(TForm1Test, YesFromTheTrayMenuClosesTheHiddenWindowsProgram) {
    create();
    form->show();
    form->GoToTray();
    QSignalSpy closed(form.get(), &TForm1::programClosed);
    prompts.queueAnswer(PromptAnswer::Yes);
    form->trayMenu().actions()[1]->trigger();
    EXPECT_EQ(closed.count(), 1);
    EXPECT_TRUE(hub->isShutDown());
    EXPECT_FALSE(form->trayIcon().isVisible());
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

TEST_F(TForm1Test, MinimizingWithATraySendsTheWindowToTheTray) {
    create();
    form->show();
    form->showMinimized();
    EXPECT_TRUE(spinUntil([this] { return !form->isVisible(); }));
    EXPECT_TRUE(form->trayIcon().isVisible());
}

TEST_F(TForm1Test, ATrayThatGoesAwayGivesTheHiddenWindowBack) {
    create();
    form->show();
    EXPECT_FALSE(form->close());
    ASSERT_FALSE(form->isVisible());
    form->checkTrayStillThere();
    EXPECT_FALSE(form->isVisible()) << "the tray is still there";

    trayAvailable = false;
    form->checkTrayStillThere();
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->trayIcon().isVisible());
}

TEST_F(TForm1Test, ATrayThatAppearsAfterStartUpIsUsedFromThenOn) {
    create({}, false);
    form->show();
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isMinimized());
    form->showNormal();

    trayAvailable = true;
    EXPECT_FALSE(form->close());
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(form->trayIcon().isVisible());
}

TEST_F(TForm1Test, CloseAnsweredNoKeepsRunningAndYesWritesTheDaysEvents) {
    create();
    form->show();
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
    EXPECT_TRUE(hub->isShutDown());
    const std::string saved = testing::readFile(dir.path() / hub->eventLog().currentPath());
    EXPECT_NE(saved.find("Closing program aborted. \r\n"), std::string::npos);
}

TEST_F(TForm1Test, ClearEmptiesThePaneOnlyWhenConfirmed) {
    create();
    hub->eventLog().WriteEvent("one");
    ASSERT_TRUE(spinUntil([this] { return paneLines().size() == 1; }));
    prompts.queueAnswer(PromptAnswer::No);
    control<QPushButton>("Button4")->click();
    spinUntil([] { return true; });
    EXPECT_EQ(paneLines().size(), 1);
    control<QPushButton>("Button4")->click();
    EXPECT_TRUE(spinUntil([this] { return paneLines().isEmpty(); }));
}

TEST_F(TForm1Test, GraphicsBringsUpItsWindowOnceThereAndHelpIsNotThereYet) {
    create();
    EXPECT_FALSE(control<QAction>("Graphics")->isEnabled());
    QWidget graphics(nullptr, Qt::Tool);
    form->setGraphics(&graphics);
    trigger("Graphics");
    EXPECT_TRUE(graphics.isVisible());
    trigger("Help");
    EXPECT_TRUE(prompts.messages().empty());
    EXPECT_EQ(prompts.warnings(), (std::vector<std::string>{"Not yet available."}));
    form->setGraphics(nullptr);
    EXPECT_FALSE(control<QAction>("Graphics")->isEnabled());
}

}  // namespace
}  // namespace brevanto
