#include "ui/tsetting.h"

#include <filesystem>

#include <QButtonGroup>
#include <QKeyEvent>
#include <QRadioButton>
#include <QShowEvent>
#include <QStyle>

#include "link/portmap.h"
#include "ui/amethyststyle.h"
#include "ui/editcheck.h"
#include "ui_tsetting.h"

namespace brevanto {

namespace {

constexpr int kPortDefault = -1;
constexpr int kPortMinimum = 0;
constexpr int kPortMaximum = 65535;
constexpr std::size_t kOutputChoices = 8;

QString text(const std::string& value) {
    return QString::fromStdString(value);
}

QTime qtime(const LocalDateTime& when) {
    return {when.time.hour, when.time.minute, when.time.second};
}

QButtonGroup* radioGroup(QWidget* box, QObject* owner) {
    auto* group = new QButtonGroup(owner);
    int id = 0;
    for (QRadioButton* radio : box->findChildren<QRadioButton*>()) {
        group->addButton(radio, id++);
    }
    return group;
}

void checkRadio(QButtonGroup* group, int id) {
    if (QAbstractButton* radio = group->button(id)) {
        radio->setChecked(true);
    }
}

}  // namespace

TSetting::TSetting(Hub& hub, Prompts& prompts, QWidget* parent)
    : QWidget(parent, Qt::Tool),
      m_ui(std::make_unique<Ui::TSetting>()),
      m_hub(hub),
      m_prompts(prompts) {
    m_ui->setupUi(this);
    repolishRoles(*this);
    m_ui->PageControl1->setCurrentIndex(0);
    m_measTime = radioGroup(m_ui->MeasTime, this);
    m_refreshTime = radioGroup(m_ui->RefreshTime, this);

    bindPortBox({m_ui->Edit20, &TDati::httpPort});
    bindPortBox({m_ui->Edit2, &TDati::smtpPort});
    bindPortBox({m_ui->Edit31, &TDati::portProxy});
    bindPortBox({m_ui->MqttPort, &TDati::mqttPort});

    // Main
    bindText(m_ui->Edit5, [](TDati& s) -> std::string& { return s.title; });
    bindIndex(m_ui->ComboBox6, [](TDati& s) -> std::int32_t& { return s.refreshWeb; });
    bindRadios(m_measTime, &TDati::measTime);
    bindRadios(m_refreshTime, &TDati::updateLog);
    bindFlag(m_ui->AutoSearch, [](TDati& s) -> bool& { return s.autoSearch; });
    bindFlag(m_ui->OnErr, [](TDati& s) -> bool& { return s.mailOnError; });
    connect(m_ui->COMPORT, &QComboBox::currentIndexChanged, this, [this](int index) {
        // No item, as for a stored port beyond the list: the stored port stays.
        if (index < 0) {
            return;
        }
        MarkSettingsChanged();
        pending().comPortIndex = index + 1;
        pending().comPort = m_ui->COMPORT->itemText(index).toStdString();
        m_ui->COMPORT->setToolTip(portToolTip(index));
    });
    m_ui->COMPORT->setToolTipSource([this](int index) { return portToolTip(index); });

    // Mail
    bindText(m_ui->Edit1, [](TDati& s) -> std::string& { return s.smtpHost; });
    bindText(m_ui->Edit29, [](TDati& s) -> std::string& { return s.mailAddress; });
    bindText(m_ui->Edit3, [](TDati& s) -> std::string& { return s.mailUsername; });
    bindText(m_ui->Edit4, [](TDati& s) -> std::string& { return s.mailPassword; });
    bindText(m_ui->Edit30, [](TDati& s) -> std::string& { return s.urlProxy; });
    bindFlag(m_ui->Useinternal, [](TDati& s) -> bool& { return s.useInternal; });
    bindFlag(m_ui->CheckBox1, [](TDati& s) -> bool& { return s.authRequired; });
    bindFlag(m_ui->CheckBox19, [](TDati& s) -> bool& { return s.proxyRequired; });
    connect(m_ui->Useinternal, &QCheckBox::toggled, this, [this] { relayRule(); });
    connect(m_ui->CheckBox1, &QCheckBox::toggled, this, [this] { authenticationRule(); });
    connect(m_ui->CheckBox19, &QCheckBox::toggled, this, [this] { proxyRule(); });

    // The labels of the two info pages
    m_basicLabels = {m_ui->Edit7,  m_ui->Edit8,  m_ui->Edit9,  m_ui->Edit10, m_ui->Edit11,
                     m_ui->Edit24, m_ui->Edit25, m_ui->Edit26, m_ui->Edit27, m_ui->Edit28,
                     m_ui->Edit32, m_ui->Edit33, m_ui->Edit34, m_ui->Edit37, m_ui->Edit38};
    for (std::size_t i = 0; i < m_basicLabels.size(); ++i) {
        bindText(m_basicLabels[i], [i](TDati& s) -> std::string& { return s.basicLabels[i]; });
    }
    m_computedLabels = {m_ui->Edit12, m_ui->Edit13, m_ui->Edit14,
                        m_ui->Edit15, m_ui->Edit16, m_ui->Edit17};
    m_computedUnits = {m_ui->Edit6,  m_ui->Edit18, m_ui->Edit19,
                       m_ui->Edit21, m_ui->Edit22, m_ui->Edit23};
    for (std::size_t i = 0; i < m_computedLabels.size(); ++i) {
        bindText(m_computedLabels[i],
                 [i](TDati& s) -> std::string& { return s.computedLabels[i]; });
        bindText(m_computedUnits[i], [i](TDati& s) -> std::string& { return s.computedUnits[i]; });
    }
    bindFlag(m_ui->LogBasic, [](TDati& s) -> bool& { return s.logBasic; });
    bindFlag(m_ui->LogComputed, [](TDati& s) -> bool& { return s.logComputed; });
    bindFlag(m_ui->LogEvent, [](TDati& s) -> bool& { return s.logEvent; });
    bindFlag(m_ui->LogEnergy, [](TDati& s) -> bool& { return s.logEnergy; });
    bindFlag(m_ui->SendBasic, [](TDati& s) -> bool& { return s.mailOut[0]; });
    bindFlag(m_ui->SendComputed, [](TDati& s) -> bool& { return s.mailOut[1]; });
    bindFlag(m_ui->SendEnergy, [](TDati& s) -> bool& { return s.mailOut[2]; });
    bindFlag(m_ui->SendSwitch, [](TDati& s) -> bool& { return s.mailOut[3]; });
    bindFlag(m_ui->LineFault, [](TDati& s) -> bool& { return s.mailOut[4]; });

    // MQTT
    bindFlag(m_ui->MqttEnabled, [](TDati& s) -> bool& { return s.mqttEnabled; });
    bindText(m_ui->MqttHost, [](TDati& s) -> std::string& { return s.mqttHost; });
    bindText(m_ui->MqttUsername, [](TDati& s) -> std::string& { return s.mqttUsername; });
    bindText(m_ui->MqttPassword, [](TDati& s) -> std::string& { return s.mqttPassword; });
    bindFlag(m_ui->MqttTls, [](TDati& s) -> bool& { return s.mqttTls; });
    bindText(m_ui->MqttTopic, [](TDati& s) -> std::string& { return s.mqttTopic; });
    bindFlag(m_ui->MqttDiscovery, [](TDati& s) -> bool& { return s.mqttDiscovery; });
    connect(m_ui->MqttEnabled, &QCheckBox::toggled, this, [this] { mqttRule(); });

    // Along the right edge
    bindFlag(m_ui->AutoConnect, [](TDati& s) -> bool& { return s.autoConnect; });
    bindFlag(m_ui->CheckBox29, [](TDati& s) -> bool& { return s.autoReConnect; });
    connect(m_ui->Button4, &QPushButton::clicked, this, &TSetting::CommitPendingSettings);
    connect(m_ui->Button1, &QPushButton::clicked, this, [this] {
        if (m_ui->Button4->isEnabled()) {
            m_hub.CommitPendingSettings();
        }
        hide();
    });
    connect(m_ui->Button2, &QPushButton::clicked, this, &QWidget::hide);
    connect(m_ui->REBOOT, &QPushButton::clicked, this, [this] {
        MarkSettingsChanged();
        pending().reboot = 0;
    });

    bindTimers();
    bindImmediateControls();
    m_subscriptions.push_back(
        m_hub.mail().addFinishedListener([this] { m_ui->btnSendMail->setEnabled(true); }));
    m_hub.setSettingsDialog({
        .timers = {
            .enableBox = [this](int timer,
                                bool checked) { m_timers[timer].enabled->setChecked(checked); },
            .pickers =
                [this](int timer, const LocalDateTime& on, const LocalDateTime& off) {
                    m_timers[timer].on->setTime(qtime(on));
                    m_timers[timer].off->setTime(qtime(off));
                }},
        .reqByWeb = {.reqByWeb = [this](bool on) { m_ui->ReqByWeb->setChecked(on); },
                     .autoReConnect = [this](bool on) { m_ui->CheckBox29->setChecked(on); }},
    });
}

// Nothing of the hub may reach the dialog once it is gone.
TSetting::~TSetting() {
    m_hub.setSettingsDialog({});
}

void TSetting::bindText(QLineEdit* edit, std::function<std::string&(TDati&)> field) {
    connect(edit, &QLineEdit::textChanged, this, [this, field](const QString& value) {
        MarkSettingsChanged();
        field(pending()) = value.toStdString();
    });
}

void TSetting::bindFlag(QAbstractButton* box, std::function<bool&(TDati&)> field) {
    connect(box, &QAbstractButton::toggled, this, [this, field](bool checked) {
        MarkSettingsChanged();
        field(pending()) = checked;
    });
}

void TSetting::bindIndex(QComboBox* combo, std::function<std::int32_t&(TDati&)> field) {
    connect(combo, &QComboBox::currentIndexChanged, this, [this, field](int index) {
        // No item: a stored index beyond the list is kept as it is.
        if (index < 0) {
            return;
        }
        MarkSettingsChanged();
        field(pending()) = index;
    });
}

void TSetting::bindRadios(QButtonGroup* group, std::int32_t TDati::*field) {
    connect(group, &QButtonGroup::idToggled, this, [this, field](int id, bool checked) {
        if (checked) {
            MarkSettingsChanged();
            pending().*field = id;
        }
    });
}

// A port is taken over only by an Enter on a valid number; until then the
// box is silver and the setting keeps its value.
void TSetting::bindPortBox(const PortBox& box) {
    m_portBoxes.push_back(box);
    box.edit->installEventFilter(this);
    connect(box.edit, &QLineEdit::textChanged, this, [this, edit = box.edit] {
        setPortBoxPending(edit, true);
        MarkSettingsChanged();
    });
    connect(box.edit, &QLineEdit::returnPressed, this, [this, box] { acceptPort(box); });
}

void TSetting::acceptPort(const PortBox& box) {
    const int port = ValidateInteger(box.edit->text().toStdString(), kPortDefault, kPortMinimum,
                                     kPortMaximum, true, m_prompts);
    if (port < 0) {
        return;
    }
    MarkSettingsChanged();
    pending().*box.field = std::to_string(port);
    setPortBoxPending(box.edit, false);
}

void TSetting::setPortBoxPending(QLineEdit* edit, bool pending) {
    if (edit->property("pending").toBool() == pending) {
        return;
    }
    edit->setProperty("pending", pending);
    edit->style()->unpolish(edit);
    edit->style()->polish(edit);
}

bool TSetting::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString typed = key->text();
        // Shortcuts (copy, paste, undo) and keys without a character pass.
        const bool shortcut = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
        if (!shortcut && typed.size() == 1) {
            const char16_t character = typed.front().unicode();
            const bool editingKey = character < u' ' || character == u'\x7f';
            const bool passes = FilterIntegerKey(character) != u'\0';
            if (!passes && !(editingKey && character != 8 && character != 13)) {
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TSetting::bindTimers() {
    Ui::TSetting& ui = *m_ui;
    m_timers = {{
        {ui.CheckBox3,
         ui.DateTimePicker1,
         ui.DateTimePicker2,
         ui.TAnext,
         ui.ComboBox1,
         {ui.LabelOnA, ui.LabelOffA, ui.LabelOutputA}},
        {ui.CheckBox20,
         ui.DateTimePicker3,
         ui.DateTimePicker4,
         ui.TBnext,
         ui.ComboBox2,
         {ui.LabelOnB, ui.LabelOffB, ui.LabelOutputB}},
        {ui.CheckBox21,
         ui.DateTimePicker5,
         ui.DateTimePicker6,
         ui.TCnext,
         ui.ComboBox3,
         {ui.LabelOnC, ui.LabelOffC, ui.LabelOutputC}},
        {ui.CheckBox22,
         ui.DateTimePicker7,
         ui.DateTimePicker8,
         ui.TDnext,
         ui.ComboBox4,
         {ui.LabelOnD, ui.LabelOffD, ui.LabelOutputD}},
    }};
    for (int timer = 0; timer < 4; ++timer) {
        TimerControls& controls = m_timers[timer];
        controls.dependents.insert(controls.dependents.end(),
                                   {controls.on, controls.off, controls.output, controls.nextDay});
        connect(controls.enabled, &QCheckBox::toggled, this, [this, timer](bool checked) {
            MarkSettingsChanged();
            timerEnablingRule(timer);
            pending().timerEnabled[timer] = checked;
        });
        // The time of day to the second, on today's date.
        const auto timeRule = [this](LocalDateTime& field, const QTime& time) {
            MarkSettingsChanged();
            field = {m_hub.today(), {time.hour(), time.minute(), time.second()}};
        };
        connect(controls.on, &QTimeEdit::timeChanged, this,
                [this, timer, timeRule](QTime time) { timeRule(pending().timeOn[timer], time); });
        connect(controls.off, &QTimeEdit::timeChanged, this,
                [this, timer, timeRule](QTime time) { timeRule(pending().timeOff[timer], time); });
        bindFlag(controls.nextDay, [timer](TDati& s) -> bool& { return s.timerNextDay[timer]; });
        bindIndex(controls.output,
                  [timer](TDati& s) -> std::int32_t& { return s.timerInput[timer]; });
    }
}

void TSetting::bindImmediateControls() {
    connect(m_ui->HTTPdisable, &QCheckBox::toggled, this,
            [this](bool checked) { m_hub.web().setActive(!checked); });
    connect(m_ui->CheckBox2, &QCheckBox::toggled, this,
            [this](bool checked) { m_hub.setShowAllErrors(checked); });
    connect(m_ui->ReqByWeb, &QCheckBox::toggled, this, [this](bool checked) {
        MarkSettingsChanged();
        pending().reqByWeb = checked;
        m_hub.reqByWeb().setBox(checked);
    });
    connect(m_ui->btnSendMail, &QPushButton::clicked, this, &TSetting::SendTestMail);
}

void TSetting::MarkSettingsChanged() {
    m_ui->Button4->setEnabled(true);
}

void TSetting::CommitPendingSettings() {
    m_hub.CommitPendingSettings();
    m_ui->Button4->setEnabled(false);
}

void TSetting::FillSettingsDialog() {
    Ui::TSetting& ui = *m_ui;
    pending() = m_hub.settings().AppSettings();
    // A copy: each control's handler writes into the working copy as it is set.
    const TDati settings = pending();
    checkRadio(m_measTime, settings.measTime);
    checkRadio(m_refreshTime, settings.updateLog);
    ui.Edit5->setText(text(settings.title));
    ui.Edit20->setText(text(settings.httpPort));
    setPortBoxPending(ui.Edit20, false);
    ui.ReqByWeb->setChecked(settings.reqByWeb);
    for (int timer = 0; timer < 4; ++timer) {
        fillTimer(timer, timer < 2 ? kOutputChoices : 1);
    }
    ui.CheckBox1->setChecked(settings.authRequired);
    ui.CheckBox19->setChecked(settings.proxyRequired);
    authenticationRule();
    proxyRule();
    ui.Edit3->setText(text(settings.mailUsername));
    ui.Edit4->setText(text(settings.mailPassword));
    ui.Edit30->setText(text(settings.urlProxy));
    ui.Edit31->setText(text(settings.portProxy));
    setPortBoxPending(ui.Edit31, false);
    ui.Edit2->setText(text(settings.smtpPort));
    setPortBoxPending(ui.Edit2, false);
    ui.Edit1->setText(text(settings.smtpHost));
    ui.Edit29->setText(text(settings.mailAddress));
    ui.Useinternal->setChecked(settings.useInternal);
    // Also when the box did not change: the two rules above may have just
    // enabled what the relay leaves unused.
    relayRule();
    ui.SendBasic->setChecked(settings.mailOut[0]);
    ui.SendComputed->setChecked(settings.mailOut[1]);
    ui.SendEnergy->setChecked(settings.mailOut[2]);
    ui.SendSwitch->setChecked(settings.mailOut[3]);
    ui.LineFault->setChecked(settings.mailOut[4]);
    ui.OnErr->setChecked(settings.mailOnError);
    ui.Edit35->setText(text(settings.webPassword));
    ui.LogBasic->setChecked(settings.logBasic);
    ui.LogComputed->setChecked(settings.logComputed);
    ui.LogEvent->setChecked(settings.logEvent);
    ui.LogEnergy->setChecked(settings.logEnergy);
    const std::array<QLineEdit*, kComputedValueCount> labels = {ui.Edit12, ui.Edit13, ui.Edit14,
                                                                ui.Edit15, ui.Edit16, ui.Edit17};
    const std::array<QLineEdit*, kComputedValueCount> units = {ui.Edit6,  ui.Edit18, ui.Edit19,
                                                               ui.Edit21, ui.Edit22, ui.Edit23};
    for (std::size_t i = 0; i < labels.size(); ++i) {
        labels[i]->setText(text(settings.computedLabels[i]));
        units[i]->setText(text(settings.computedUnits[i]));
    }
    ui.COMPORT->setCurrentIndex(settings.comPortIndex - 1);
    ui.COMPORT->refreshToolTips();
    ui.AutoSearch->setChecked(settings.autoSearch);
    ui.ComboBox6->setCurrentIndex(settings.refreshWeb);
    for (std::size_t i = 0; i < m_basicLabels.size(); ++i) {
        m_basicLabels[i]->setText(text(settings.basicLabels[i]));
    }
    ui.REBOOT->setEnabled(settings.reboot >= 1);
    ui.CheckBox2->setChecked(m_hub.showAllErrors());
    // The broker, on the last page.
    ui.MqttEnabled->setChecked(settings.mqttEnabled);
    ui.MqttHost->setText(text(settings.mqttHost));
    ui.MqttPort->setText(text(settings.mqttPort));
    setPortBoxPending(ui.MqttPort, false);
    ui.MqttUsername->setText(text(settings.mqttUsername));
    ui.MqttPassword->setText(text(settings.mqttPassword));
    ui.MqttTls->setChecked(settings.mqttTls);
    ui.MqttTopic->setText(text(settings.mqttTopic));
    ui.MqttDiscovery->setChecked(settings.mqttDiscovery);
    mqttRule();
}

void TSetting::fillTimer(int timer, std::size_t outputItems) {
    const TDati settings = pending();
    TimerControls& controls = m_timers[timer];
    controls.on->setTime(qtime(settings.timeOn[timer]));
    controls.off->setTime(qtime(settings.timeOff[timer]));
    controls.output->clear();
    for (std::size_t i = 0; i < outputItems; ++i) {
        controls.output->addItem(QString());
    }
    controls.output->setCurrentIndex(settings.timerInput[timer]);
    controls.enabled->setChecked(settings.timerEnabled[timer]);
    // Also when the box did not change, so a group never shows as its box does not say.
    timerEnablingRule(timer);
    controls.nextDay->setChecked(settings.timerNextDay[timer]);
}

void TSetting::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous()) {
        return;
    }
    FillSettingsDialog();
    m_ui->AutoConnect->setChecked(pending().autoConnect);
    m_ui->CheckBox29->setChecked(pending().autoReConnect);
    m_ui->Button4->setEnabled(false);
}

void TSetting::timerEnablingRule(int timer) {
    const TimerControls& controls = m_timers[timer];
    const bool enabled = controls.enabled->isChecked();
    for (QWidget* dependent : controls.dependents) {
        dependent->setEnabled(enabled);
    }
}

void TSetting::authenticationRule() {
    const bool enabled = m_ui->CheckBox1->isChecked();
    for (QWidget* control :
         {static_cast<QWidget*>(m_ui->LabelUsername), static_cast<QWidget*>(m_ui->LabelPassword),
          static_cast<QWidget*>(m_ui->Edit3), static_cast<QWidget*>(m_ui->Edit4)}) {
        control->setEnabled(enabled);
    }
}

void TSetting::proxyRule() {
    const bool enabled = m_ui->CheckBox19->isChecked();
    for (QWidget* control :
         {static_cast<QWidget*>(m_ui->LabelUrl), static_cast<QWidget*>(m_ui->Edit30),
          static_cast<QWidget*>(m_ui->Edit31)}) {
        control->setEnabled(enabled);
    }
}

// The relay needs no server and no account: their controls rest while it is chosen.
void TSetting::relayRule() {
    const bool smtp = !m_ui->Useinternal->isChecked();
    for (QWidget* control :
         {static_cast<QWidget*>(m_ui->CheckBox1), static_cast<QWidget*>(m_ui->Edit1),
          static_cast<QWidget*>(m_ui->Edit2), static_cast<QWidget*>(m_ui->LabelSmtpServer),
          static_cast<QWidget*>(m_ui->LabelSmtpPort)}) {
        control->setEnabled(smtp);
    }
    if (smtp) {
        authenticationRule();
    } else {
        for (QWidget* control :
             {static_cast<QWidget*>(m_ui->LabelUsername),
              static_cast<QWidget*>(m_ui->LabelPassword), static_cast<QWidget*>(m_ui->Edit3),
              static_cast<QWidget*>(m_ui->Edit4)}) {
            control->setEnabled(false);
        }
    }
}

// The broker's details rest while nothing is published.
void TSetting::mqttRule() {
    const bool enabled = m_ui->MqttEnabled->isChecked();
    const std::array<QWidget*, 12> details = {
        m_ui->MqttHost,          m_ui->MqttPort,          m_ui->MqttUsername,
        m_ui->MqttPassword,      m_ui->MqttTls,           m_ui->MqttTopic,
        m_ui->MqttDiscovery,     m_ui->LabelMqttHost,     m_ui->LabelMqttPort,
        m_ui->LabelMqttUsername, m_ui->LabelMqttPassword, m_ui->LabelMqttTopic};
    for (QWidget* control : details) {
        control->setEnabled(enabled);
    }
}

void TSetting::SendTestMail() {
    if (m_ui->Button4->isEnabled() &&
        m_prompts.confirm("Apply data before?") == PromptAnswer::Yes) {
        CommitPendingSettings();
    }
    m_ui->btnSendMail->setEnabled(false);
    m_ui->Label46->setText(QStringLiteral("Try sending test message..."));
    m_ui->Label46->repaint();
    m_hub.mail().SendMail("This is a test message.", m_hub.computedLogFile());
}

QString TSetting::portToolTip(int index) const {
    const int number = index + 1;
    const std::string device = PortMap(m_hub.settings().portOverrides()).devicePath(number);
    std::error_code error;
    const bool present = !device.empty() && std::filesystem::exists(device, error);
    return QStringLiteral("%1 is %2 (%3)")
        .arg(QString::fromStdString(PortMap::portName(number)), text(device),
             present ? QStringLiteral("present") : QStringLiteral("not present now"));
}

}  // namespace brevanto
