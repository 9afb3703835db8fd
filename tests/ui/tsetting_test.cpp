// The settings dialog, driven by its controls' names as a user drives it:
// its working copy, the port rule, Apply, OK and Cancel, the controls that
// act at once, and what the rest of the program sets in it.
#include "ui/tsetting.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimeEdit>
#include <QtTest/QTest>

#include "formfixture.h"
#include "support/freeport.h"

namespace brevanto {
namespace {

class TSettingTest : public testing::FormFixture {
protected:
    void open(const std::string& ini = {}) {
        create(ini);
        setting = std::make_unique<TSetting>(*hub, prompts);
        form->setSettingsDialog(setting.get());
        form->show();
        settingsCommand()->trigger();
        ASSERT_TRUE(setting->isVisible());
    }
    void reopen() {
        settingsCommand()->trigger();
        ASSERT_FALSE(setting->isVisible());
        settingsCommand()->trigger();
    }
    QAction* settingsCommand() { return control<QAction>("Settings"); }

    template <typename Widget>
    Widget* field(const char* name) {
        auto* widget = setting->findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QLineEdit* edit(const char* name) { return field<QLineEdit>(name); }
    QCheckBox* box(const char* name) { return field<QCheckBox>(name); }
    QPushButton* button(const char* name) { return field<QPushButton>(name); }
    bool applyEnabled() { return button("Button4")->isEnabled(); }
    bool silver(const char* name) { return edit(name)->property("pending").toBool(); }
    void enter(const char* name) { QTest::keyClick(edit(name), Qt::Key_Return); }
    bool enabled(const char* name) { return field<QWidget>(name)->isEnabled(); }
    const TDati& live() { return hub->settings().AppSettings(); }
    std::string settingsFile() { return testing::readFile(dir / "brevanto.INI"); }

    std::unique_ptr<TSetting> setting;
};

TEST_F(TSettingTest, ShowsItsPagesWithMainFirstAndTheStoredSettings) {
    open(
        "[Main]\nMeasTime=3\nCOM PORT index=7\nCOM PORT=COM7\n[Http]\nPort=8080\n"
        "[Mail]\nSMTP=mail.example.org\n[BasicInfo]\nAC Voltage=Grid\n");
    auto* pages = field<QTabWidget>("PageControl1");
    std::vector<std::string> titles;
    for (int i = 0; i < pages->count(); ++i) {
        titles.push_back(pages->tabText(i).toStdString());
    }
    EXPECT_EQ(titles,
              (std::vector<std::string>{"Main", "Mail", "Basic Info Log", "Computed info Log",
                                        "Energy/Event Log ", "Timer", "BlackList", "MQTT"}));
    EXPECT_EQ(pages->currentIndex(), 0);
    EXPECT_EQ(setting->windowTitle(), QStringLiteral("Settings"));
    EXPECT_EQ(edit("Edit20")->text(), QStringLiteral("8080"));
    EXPECT_EQ(edit("Edit1")->text(), QStringLiteral("mail.example.org"));
    EXPECT_EQ(edit("Edit7")->text(), QStringLiteral("Grid"));
    EXPECT_TRUE(field<QRadioButton>("MeasTime3")->isChecked());
    EXPECT_EQ(field<QComboBox>("COMPORT")->currentText(), QStringLiteral("COM7"));
    EXPECT_EQ(field<QComboBox>("COMPORT")->count(), 25);
    EXPECT_FALSE(applyEnabled()) << "the show handler ends with Apply disabled";
    EXPECT_FALSE(field<QWidget>("TimerB")->isVisible());
    EXPECT_FALSE(field<QWidget>("REBOOT")->isVisible());
    EXPECT_EQ(field<QComboBox>("ComboBox1")->count(), 8);
    EXPECT_EQ(field<QComboBox>("ComboBox3")->count(), 1);
}

TEST_F(TSettingTest, APortIsTakenOnlyByEnterOnAValidNumber) {
    open("[Http]\nPort=8080\n[Mail]\nPort=25\n");
    QLineEdit* web = edit("Edit20");
    web->clear();
    EXPECT_TRUE(silver("Edit20"));
    EXPECT_TRUE(applyEnabled());
    enter("Edit20");
    EXPECT_EQ(hub->settings().PendingSettings().httpPort, "0") << "an empty box is the minimum";
    EXPECT_FALSE(silver("Edit20"));
    QTest::keyClicks(web, QStringLiteral("-"));
    enter("Edit20");
    EXPECT_EQ(hub->settings().PendingSettings().httpPort, "0");
    EXPECT_TRUE(prompts.warnings().empty());

    web->clear();
    QTest::keyClicks(web, QStringLiteral("6a5536"));
    EXPECT_EQ(web->text(), QStringLiteral("65536")) << "the letter is filtered out";
    enter("Edit20");
    EXPECT_EQ(prompts.warnings(),
              (std::vector<std::string>{"Value out of range; maximum value allowed= 65535."}));
    EXPECT_EQ(hub->settings().PendingSettings().httpPort, "0");
    EXPECT_TRUE(silver("Edit20"));

    // Pasted, so the key filter never saw it.
    edit("Edit2")->setText(QStringLiteral("8a0"));
    enter("Edit2");
    EXPECT_EQ(prompts.warnings(),
              (std::vector<std::string>{"Value out of range; maximum value allowed= 65535.",
                                        "Wrong integer",
                                        "Value out of range; minimum value allowed = 0."}));
    EXPECT_EQ(prompts.warningCaptions(),
              (std::vector<std::string>{"Kestrova", "Kestrova", "Kestrova"}));
    EXPECT_EQ(hub->settings().PendingSettings().smtpPort, "25");

    edit("Edit2")->setText(QStringLiteral("0587"));
    enter("Edit2");
    EXPECT_EQ(hub->settings().PendingSettings().smtpPort, "587");
}

TEST_F(TSettingTest, OkCommitsTheOtherEditsButNotAPortWithoutEnter) {
    open("[Http]\nPort=8080\n");
    edit("Edit20")->setText(QStringLiteral("9090"));
    edit("Edit5")->setText(QStringLiteral("Cabin"));
    field<QRadioButton>("MeasTime5")->click();
    button("Button1")->click();
    EXPECT_FALSE(setting->isVisible());
    EXPECT_EQ(live().title, "Cabin");
    EXPECT_EQ(live().httpPort, "8080");
    EXPECT_EQ(live().measTime, 5);
    EXPECT_EQ(hub->timers().Timer1.interval(), 60000) << "in effect";
    EXPECT_NE(settingsFile().find("Title=Cabin"), std::string::npos);
    settingsCommand()->trigger();
    EXPECT_EQ(edit("Edit20")->text(), QStringLiteral("8080"));
    EXPECT_FALSE(silver("Edit20"));
}

TEST_F(TSettingTest, TheBrokersPageShowsItsSettingsAndOkSavesThem) {
    open("[MQTT]\nEnabled=0\nHost=broker.lan\n");
    EXPECT_EQ(edit("MqttHost")->text(), QStringLiteral("broker.lan"));
    EXPECT_EQ(edit("MqttPort")->text(), QStringLiteral("1883"));
    EXPECT_FALSE(enabled("MqttHost")) << "rests while nothing is published";
    box("MqttEnabled")->click();
    EXPECT_TRUE(enabled("MqttTopic"));
    edit("MqttPort")->setText(QStringLiteral("8883"));
    enter("MqttPort");
    edit("MqttTopic")->setText(QStringLiteral("cabin"));
    box("MqttTls")->click();
    button("Button1")->click();
    EXPECT_TRUE(live().mqttEnabled);
    EXPECT_EQ(live().mqttPort, "8883");
    const std::string saved = settingsFile();
    for (const char* line : {"Enabled=1", "Host=broker.lan", "Port=8883", "TLS=1", "Topic=cabin"}) {
        EXPECT_NE(saved.find(std::string("\n") + line + "\n", saved.find("[MQTT]")),
                  std::string::npos)
            << line;
    }
}

TEST_F(TSettingTest, OkWithoutEditsNeitherAppliesNorSaves) {
    open("[Http]\nTitle=As typed\n");
    const std::string before = settingsFile();
    hub->settings().AppSettings().title = "changed elsewhere";
    button("Button1")->click();
    EXPECT_FALSE(setting->isVisible());
    EXPECT_EQ(settingsFile(), before);
    EXPECT_EQ(live().title, "changed elsewhere");
}

TEST_F(TSettingTest, AChosenPortIsStoredAndChosenAgainAndCancelDropsEdits) {
    open();
    auto* port = field<QComboBox>("COMPORT");
    port->setCurrentIndex(port->findText(QStringLiteral("COM7")));
    button("Button4")->click();
    EXPECT_FALSE(applyEnabled());
    EXPECT_EQ(live().comPortIndex, 7);
    EXPECT_EQ(live().comPort, "COM7");
    const std::string saved = settingsFile();
    EXPECT_NE(saved.find("COM PORT index=7"), std::string::npos) << saved;
    EXPECT_NE(saved.find("COM PORT=COM7"), std::string::npos) << saved;

    port->setCurrentIndex(0);
    edit("Edit29")->setText(QStringLiteral("someone@example.org"));
    button("Button2")->click();
    EXPECT_FALSE(setting->isVisible());
    settingsCommand()->trigger();
    EXPECT_EQ(port->currentText(), QStringLiteral("COM7"));
    EXPECT_EQ(edit("Edit29")->text(), QString());
    EXPECT_EQ(live().comPortIndex, 7);
}

TEST_F(TSettingTest, APortBeyondTheListSurvivesAnApply) {
    open("[Main]\nCOM PORT index=27\nCOM PORT=COM27\n");
    EXPECT_EQ(field<QComboBox>("COMPORT")->currentIndex(), -1);
    edit("Edit5")->setText(QStringLiteral("x"));
    button("Button4")->click();
    EXPECT_EQ(live().comPortIndex, 27);
    EXPECT_EQ(live().comPort, "COM27");
}

TEST_F(TSettingTest, EachPortsTipNamesItsDeviceAndWhetherItIsThere) {
    const auto device = dir / "adapter";
    testing::writeFile(device, "");
    open("[Ports]\nCOM3=" + device.string() + "\n");
    auto* port = field<QComboBox>("COMPORT");
    EXPECT_EQ(port->itemData(2, Qt::ToolTipRole).toString(),
              QString::fromStdString("COM3 is " + device.string() + " (present)"));
    EXPECT_EQ(port->itemData(5, Qt::ToolTipRole).toString(),
              QStringLiteral("COM6 is /dev/ttyUSB1 (not present now)"));
}

TEST_F(TSettingTest, DisableHttpStopsTheServerAndApplyStartsItAgain) {
    serveWeb = true;
    open("[Http]\nPort=0\n");
    ASSERT_NE(hub->web().server(), nullptr);
    ASSERT_TRUE(hub->web().server()->isActive());
    box("HTTPdisable")->click();
    EXPECT_FALSE(hub->web().server()->isActive());
    EXPECT_FALSE(applyEnabled()) << "acting at once is no edit";
    edit("Edit5")->setText(QStringLiteral("Cabin"));
    button("Button4")->click();
    EXPECT_TRUE(hub->web().server()->isActive());
    EXPECT_TRUE(box("HTTPdisable")->isChecked());
}

TEST_F(TSettingTest, ANewWebPortIsServedOnceOkIsPressed) {
    serveWeb = true;
    open("[Http]\nPort=0\n");
    const int port = testing::unusedPort();
    QLineEdit* web = edit("Edit20");
    web->clear();
    QTest::keyClicks(web, QString::number(port));
    enter("Edit20");
    button("Button1")->click();
    EXPECT_EQ(hub->web().server()->boundPort(), port);
    EXPECT_NE(settingsFile().find("Port=" + std::to_string(port)), std::string::npos);
}

TEST_F(TSettingTest, TheTestMailAnsweredCancelGoesWithTheOldSettings) {
    open("[Mail]\nAddress=old@example.org\nSMTP=127.0.0.1\n");
    edit("Edit29")->setText(QStringLiteral("new@example.org"));
    prompts.queueAnswer(PromptAnswer::No);
    button("btnSendMail")->click();
    EXPECT_EQ(prompts.questions(), std::vector<std::string>{"Apply data before?"});
    EXPECT_EQ(field<QLabel>("Label46")->text(), QStringLiteral("Try sending test message..."));
    EXPECT_FALSE(button("btnSendMail")->isEnabled());
    ASSERT_TRUE(spinUntil([this] { return button("btnSendMail")->isEnabled(); }));
    ASSERT_EQ(mails().size(), 1u);
    EXPECT_EQ(mails()[0].settings.address, "old@example.org");
    EXPECT_EQ(mails()[0].message.body, "This is a test message.");
    EXPECT_TRUE(applyEnabled());
    EXPECT_EQ(live().mailAddress, "old@example.org");
}

TEST_F(TSettingTest, TheTestMailAnsweredOkAppliesFirst) {
    open("[Mail]\nAddress=old@example.org\n");
    edit("Edit29")->setText(QStringLiteral("new@example.org"));
    button("btnSendMail")->click();
    ASSERT_TRUE(spinUntil([this] { return button("btnSendMail")->isEnabled(); }));
    ASSERT_EQ(mails().size(), 1u);
    EXPECT_EQ(mails()[0].settings.address, "new@example.org");
    EXPECT_FALSE(applyEnabled());
    EXPECT_NE(settingsFile().find("Address=new@example.org"), std::string::npos);
}

TEST_F(TSettingTest, TheRelayAndTheAccountEnableWhatTheyUse) {
    open("[Mail]\nAuthRequired=0\n");
    EXPECT_FALSE(enabled("Edit3"));
    EXPECT_FALSE(enabled("LabelUsername"));
    box("CheckBox1")->click();
    EXPECT_TRUE(enabled("Edit3"));
    EXPECT_TRUE(enabled("LabelPassword"));
    box("CheckBox1")->click();
    box("Useinternal")->click();
    for (const char* name : {"Edit1", "Edit2", "CheckBox1", "LabelSmtpServer", "LabelSmtpPort"}) {
        EXPECT_FALSE(enabled(name)) << name;
    }
    box("Useinternal")->click();
    for (const char* name : {"Edit1", "Edit2", "CheckBox1", "LabelSmtpServer", "LabelSmtpPort"}) {
        EXPECT_TRUE(enabled(name)) << name;
    }
    EXPECT_FALSE(enabled("LabelUsername"));
    EXPECT_FALSE(enabled("Edit4"));
}

TEST_F(TSettingTest, ARelayStoredWithAnAccountStillRestsTheAccount) {
    open("[Mail]\nUseinternal=1\nAuthRequired=1\n");
    EXPECT_FALSE(enabled("Edit3"));
    EXPECT_FALSE(enabled("CheckBox1"));
}

TEST_F(TSettingTest, TheTimerFormSetsTheDialogsTimerControls) {
    open("[Timer]\nA=0\n");
    EXPECT_FALSE(field<QTimeEdit>("DateTimePicker1")->isEnabled());
    WebRequest request;
    request.method = "POST";
    request.path = "/";
    request.body =
        "C1TA=ON&TAON=07.05.00&TAOFF=08.30.00&TBON=&TBOFF=&TCON=&TCOFF=&TDON=&TDOFF=&T2=";
    EXPECT_EQ(hub->web().handler().IdHTTPServer1CommandGet(request).status, 200);
    ASSERT_TRUE(spinUntil([this] { return box("CheckBox3")->isChecked(); }));
    EXPECT_TRUE(field<QTimeEdit>("DateTimePicker1")->isEnabled());
    EXPECT_EQ(field<QTimeEdit>("DateTimePicker1")->time(), QTime(7, 5, 0));
    EXPECT_EQ(field<QTimeEdit>("DateTimePicker2")->time(), QTime(8, 30, 0));
    EXPECT_TRUE(applyEnabled());
    const TDati& edited = hub->settings().PendingSettings();
    EXPECT_TRUE(edited.timerEnabled[0]);
    EXPECT_EQ(edited.timeOn[0].time, (TimeOfDay{7, 5, 0}));
    EXPECT_EQ(edited.timeOff[0].date, clock.now().date);
    EXPECT_TRUE(live().timerEnabled[0]);
}

TEST_F(TSettingTest, TheMainWindowsReqByWebBoxAndTheDialogsFollowEachOther) {
    open("[Main]\nAutoReConnect=1\n");
    EXPECT_TRUE(box("CheckBox29")->isChecked());
    control<QCheckBox>("ReqByWeb")->click();
    EXPECT_TRUE(box("ReqByWeb")->isChecked());
    EXPECT_FALSE(box("CheckBox29")->isChecked());
    EXPECT_FALSE(hub->settings().PendingSettings().autoReConnect);
    control<QCheckBox>("ReqByWeb")->click();
    EXPECT_FALSE(box("ReqByWeb")->isChecked());
    EXPECT_TRUE(box("CheckBox29")->isChecked());

    box("ReqByWeb")->click();
    EXPECT_TRUE(control<QCheckBox>("ReqByWeb")->isChecked());
    EXPECT_TRUE(hub->reqByWeb().checked());
    EXPECT_TRUE(live().reqByWeb);
}

TEST_F(TSettingTest, DisplayAllErrorsActsAtOnceAndIsNotStored) {
    open();
    box("CheckBox2")->click();
    EXPECT_TRUE(hub->showAllErrors());
    EXPECT_FALSE(applyEnabled());
    reopen();
    EXPECT_TRUE(box("CheckBox2")->isChecked());
}

TEST_F(TSettingTest, ShowingTheMainWindowDropsEditsNotApplied) {
    open();
    edit("Edit5")->setText(QStringLiteral("unapplied"));
    form->hide();
    form->show();
    EXPECT_EQ(edit("Edit5")->text().toStdString(), live().title);
    EXPECT_EQ(hub->settings().PendingSettings().title, live().title);
}

}  // namespace
}  // namespace brevanto
