#include "ui/tform1.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QTimer>

#include "hub/linkpresentation.h"
#include "hub/programidentity.h"
#include "ui/elidedcaptions.h"
#include "ui/eventlistmodel.h"
#include "ui/hubtimers.h"
#include "ui/programicon.h"
#include "ui/tsetting.h"
#include "ui_tform1.h"

namespace brevanto {

namespace {

constexpr int kTrayWatchIntervalMs = 2000;

QString text(const std::string& value) {
    return QString::fromStdString(value);
}

}  // namespace

TForm1::TForm1(Hub& hub, QueuedInvoker& mainThread, Prompts& prompts,
               std::function<bool()> trayAvailable, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_ui(std::make_unique<Ui::TForm1>()),
      m_hub(hub),
      m_mainThread(mainThread),
      m_prompts(prompts),
      m_trayAvailable(std::move(trayAvailable)) {
    m_ui->setupUi(this);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    setWindowIcon(programIcon());
    setWindowTitle(text(windowCaption()));
    m_basicPanels = {m_ui->Label4,  m_ui->Label5,  m_ui->Panel6,  m_ui->Panel25, m_ui->Panel7,
                     m_ui->Panel1,  m_ui->Panel5,  m_ui->Panel8,  m_ui->Panel13, m_ui->Panel15,
                     m_ui->Panel12, m_ui->Panel11, m_ui->Panel10, m_ui->Panel9,  m_ui->Panel14};
    m_computedPanels = {m_ui->Panel16, m_ui->Panel17, m_ui->Panel18,
                        m_ui->Panel19, m_ui->Panel20, m_ui->Panel21};
    m_basicLabels = {m_ui->Label2,  m_ui->Label3,  m_ui->Label6,  m_ui->Label47, m_ui->Label7,
                     m_ui->Label8,  m_ui->Label9,  m_ui->Label10, m_ui->Label12, m_ui->Label11,
                     m_ui->Label13, m_ui->Label14, m_ui->Label15, m_ui->Label16, m_ui->Label17};
    m_computedLabels = {m_ui->Label18, m_ui->Label19, m_ui->Label20,
                        m_ui->Label21, m_ui->Label22, m_ui->Label23};
    m_computedUnits = {m_ui->Label38, m_ui->Label39, m_ui->Label40,
                       m_ui->Label41, m_ui->Label42, m_ui->Label43};
    m_captions = new ElidedCaptions(this);
    for (QLabel* caption : m_basicLabels) {
        m_captions->add(caption);
    }
    for (QLabel* caption : m_computedLabels) {
        m_captions->add(caption);
    }
    // The panels paint their whole rectangle themselves, so a changed value
    // repaints only the panel, not the group box behind it.
    for (QLabel* panel : m_basicPanels) {
        panel->setAttribute(Qt::WA_OpaquePaintEvent);
    }
    for (QLabel* panel : m_computedPanels) {
        panel->setAttribute(Qt::WA_OpaquePaintEvent);
    }
    for (QLabel* panel : {m_ui->Panel22, m_ui->Panel23, m_ui->Panel24}) {
        panel->setAttribute(Qt::WA_OpaquePaintEvent);
    }
    setUpTray();

    m_eventModel = std::make_unique<EventListModel>(m_hub.eventList(), m_mainThread);
    m_ui->Memo1->setModel(m_eventModel.get());
    connect(m_eventModel.get(), &EventListModel::linesAppended, this,
            [this] { m_ui->Memo1->scrollToBottom(); });
    subscribe();
    showLinkState();
    m_ui->Panel3->setText(text(m_hub.display().clockText()));
    showDisplay(m_hub.display().texts());
    bindTimers();
    connectCommands();

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        adjustSize();
        move(screen->availableGeometry().center() - rect().center());
    }
}

// Nothing of the hub may call into the window once it is gone.
TForm1::~TForm1() {
    m_hub.linkState().setChangeListener({});
}

// The window shows what the hub's components tell it, as they change.
void TForm1::subscribe() {
    m_hub.linkState().setChangeListener([this] { m_linkRefresh.request(); });
    MainDisplay& display = m_hub.display();
    m_subscriptions.push_back(
        display.textsListeners().add([this](const DisplayTexts& texts) { showDisplay(texts); }));
    m_subscriptions.push_back(
        display.labelsListeners().add([this](const DisplayLabels& labels) { showLabels(labels); }));
    m_subscriptions.push_back(display.clockListeners().add(
        [this](const std::string& clock) { m_ui->Panel3->setText(text(clock)); }));
    // AutoConnect's first sample: the window goes as its close button sends it.
    m_subscriptions.push_back(m_hub.scheduler().addSendToTrayListener([this] { close(); }));
    m_subscriptions.push_back(m_hub.reqByWeb().listeners().add([this](bool checked) {
        const QSignalBlocker quiet(m_ui->ReqByWeb);
        m_ui->ReqByWeb->setChecked(checked);
    }));
}

void TForm1::connectCommands() {
    connect(m_ui->Connect1, &QPushButton::clicked, this, [this] { m_hub.Connect1Click(); });
    connect(m_ui->Button1, &QPushButton::clicked, this, [this] { m_hub.Button1Click(); });
    connect(m_ui->Button4, &QPushButton::clicked, this, [this] { m_hub.Button4Click(); });
    connect(m_ui->Test, &QCheckBox::clicked, this,
            [this](bool checked) { m_hub.TestClick(checked); });
    connect(m_ui->ReqByWeb, &QCheckBox::clicked, this,
            [this](bool checked) { m_hub.reqByWeb().ReqByWebClick(checked); });

    connect(m_ui->Tray, &QAction::triggered, this, &TForm1::GoToTray);
    connect(m_ui->Close, &QAction::triggered, this, &TForm1::reallyClose);
    connect(m_ui->Graphics, &QAction::triggered, this, [this] { bringUp(m_graphics); });
    connect(m_ui->Help, &QAction::triggered, this,
            [this] { m_prompts.showWarning("Not yet available."); });
    connect(m_ui->About, &QAction::triggered, this, [this] { toggle(m_aboutBox); });
    connect(m_ui->BasicVariables, &QAction::triggered, this, [this] { bringUp(m_basicVariables); });
    connect(m_ui->ComputedVariables, &QAction::triggered, this,
            [this] { bringUp(m_computedVariables); });
    connect(m_ui->Energy, &QAction::triggered, this, [this] { bringUp(m_energy); });
    connect(m_ui->Settings, &QAction::triggered, this, [this] { toggle(m_settings); });
    for (QAction* action : {m_ui->About, m_ui->BasicVariables, m_ui->Energy,
                            m_ui->ComputedVariables, m_ui->Settings, m_ui->Graphics}) {
        action->setEnabled(false);
    }
}

void TForm1::bindTimers() {
    m_timers = bindHubTimers(m_hub);
}

void TForm1::setUpTray() {
    m_tray = new QSystemTrayIcon(programIcon(), this);
    m_tray->setObjectName(QStringLiteral("TrayIcon"));
    m_trayMenu = new QMenu(this);
    m_trayMenu->setObjectName(QStringLiteral("PopupMenu1"));
    m_trayMenu->addAction(QStringLiteral("Restore"), this, &TForm1::restoreFromTray);
    m_trayMenu->addAction(QStringLiteral("Close"), this, [this] {
        m_tray->hide();
        reallyClose();
    });
    m_tray->setContextMenu(m_trayMenu);
    m_trayWatch = new QTimer(this);
    m_trayWatch->setInterval(kTrayWatchIntervalMs);
    connect(m_trayWatch, &QTimer::timeout, this, &TForm1::checkTrayStillThere);
    connect(m_tray, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger) {
                    restoreFromTray();
                }
            });
}

void TForm1::FormCreate() {
    m_hub.FormCreate();
}

void TForm1::setAboutBox(QWidget* aboutBox) {
    m_aboutBox = aboutBox;
    m_ui->About->setEnabled(aboutBox != nullptr);
}

void TForm1::setLogViewers(QWidget* basicVariables, QWidget* computedVariables, QWidget* energy) {
    m_basicVariables = basicVariables;
    m_computedVariables = computedVariables;
    m_energy = energy;
    m_ui->BasicVariables->setEnabled(basicVariables != nullptr);
    m_ui->ComputedVariables->setEnabled(computedVariables != nullptr);
    m_ui->Energy->setEnabled(energy != nullptr);
}

void TForm1::setSettingsDialog(TSetting* settings) {
    m_settings = settings;
    m_ui->Settings->setEnabled(settings != nullptr);
}

void TForm1::setGraphics(QWidget* graphics) {
    m_graphics = graphics;
    m_ui->Graphics->setEnabled(graphics != nullptr);
}

void TForm1::toggle(QWidget* window) {
    if (window == nullptr) {
        return;
    }
    window->setVisible(!window->isVisible());
}

// A viewer behind other windows or on another desktop comes to the front.
void TForm1::bringUp(QWidget* window) {
    if (window == nullptr) {
        return;
    }
    window->show();
    window->raise();
    window->activateWindow();
}

void TForm1::GoToTray() {
    if (!m_trayAvailable()) {
        showMinimized();
        return;
    }
    m_tray->setToolTip(text(LinkPresentation(m_hub.linkState().snapshot()).trayTip()));
    m_tray->show();
    hide();
    m_trayWatch->start();
}

void TForm1::restoreFromTray() {
    m_trayWatch->stop();
    showNormal();
    m_tray->hide();
    activateWindow();
}

void TForm1::checkTrayStillThere() {
    if (!isVisible() && !m_trayAvailable()) {
        restoreFromTray();
    }
}

void TForm1::reallyClose() {
    m_hub.setReallyClose(true);
    close();
}

void TForm1::closeWithoutQuestion() {
    m_hub.ShutDown();
    m_tray->hide();
    emit programClosed();
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (m_hub.isShutDown()) {
        event->accept();
        return;
    }
    switch (m_hub.FormClose()) {
        case CloseOutcome::ToTray:
            event->ignore();
            GoToTray();
            break;
        case CloseOutcome::Aborted:
            event->ignore();
            // Declined from the tray's menu: the icon comes back, or the
            // hidden window could never be found again.
            if (!isVisible()) {
                GoToTray();
            }
            break;
        case CloseOutcome::Closed:
            event->accept();
            m_tray->hide();
            emit programClosed();
            break;
    }
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!event->spontaneous()) {
        // Edits in the dialog that were not applied are dropped.
        if (m_settings) {
            m_settings->FillSettingsDialog();
        }
        m_hub.FormShow();
    }
}

void TForm1::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // After the state change is done: hiding inside it is undone by a
    // showMinimized() that shows the window once its state is set.
    if (event->type() == QEvent::WindowStateChange && isMinimized() && m_trayAvailable()) {
        QMetaObject::invokeMethod(this, &TForm1::GoToTray, Qt::QueuedConnection);
    }
}

void TForm1::showLinkState() {
    const LinkState::Snapshot link = m_hub.linkState().snapshot();
    m_ui->Connect1->setText(QString::fromLatin1(link.connectCaption()));
    m_ui->Connect1->setEnabled(link.connectEnabled);
    m_ui->Label1->setText(text(link.labelCaption));
    showLinkColour(LinkPresentation(link).statusColour());
    m_ui->Test->setChecked(link.testChecked);
    m_ui->Test->setEnabled(link.testEnabled);
}

void TForm1::showLinkColour(const char* state) {
    if (m_ui->Label1->property("state").toString() != QLatin1String(state)) {
        m_ui->Label1->setProperty("state", QString::fromLatin1(state));
        m_ui->Label1->style()->unpolish(m_ui->Label1);
        m_ui->Label1->style()->polish(m_ui->Label1);
    }
}

void TForm1::showDisplay(const DisplayTexts& texts) {
    for (std::size_t i = 0; i < texts.basic.size(); ++i) {
        m_basicPanels[i]->setText(text(texts.basic[i]));
    }
    for (std::size_t i = 0; i < texts.computed.size(); ++i) {
        m_computedPanels[i]->setText(text(texts.computed[i]));
    }
    m_ui->Panel22->setText(text(texts.mode));
    m_ui->Panel23->setText(text(texts.battery));
    m_ui->Panel24->setText(text(texts.load));
}

void TForm1::showLabels(const DisplayLabels& labels) {
    for (std::size_t i = 0; i < labels.basic.size(); ++i) {
        m_captions->setText(m_basicLabels[i], text(labels.basic[i]));
    }
    for (std::size_t i = 0; i < labels.computed.size(); ++i) {
        m_captions->setText(m_computedLabels[i], text(labels.computed[i]));
        m_computedUnits[i]->setText(text(labels.units[i]));
    }
    if (!labels.computedGroup.empty()) {
        m_ui->GroupBox2->setTitle(text(labels.computedGroup));
    }
}

}  // namespace brevanto
