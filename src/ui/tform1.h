// The main window: the live readings, the link's controls, the event pane,
// the menus and the tray icon. It shows the hub's components and hands the
// hub every command; what it shows is computed there.
#pragma once

#include <array>
#include <functional>
#include <memory>

#include <QMainWindow>
#include <QPointer>
#include <QSystemTrayIcon>

#include "hub/hub.h"
#include "platform/coalescedpost.h"

class QLabel;
class QTimer;
class QMenu;

namespace Ui {
class TForm1;
}

namespace brevanto {

class ElidedCaptions;
class EventListModel;
class TimerBinding;
class TSetting;

class TForm1 : public QMainWindow {
    Q_OBJECT

public:
    // `trayAvailable` says whether the desktop has a system tray now. It is
    // asked each time the window goes to the tray: a panel may start after
    // the program or go away while it runs. Without one, going to the tray
    // minimizes the window so it can still be found. The hub outlives the
    // window.
    TForm1(Hub& hub, QueuedInvoker& mainThread, Prompts& prompts,
           std::function<bool()> trayAvailable, QWidget* parent = nullptr);
    ~TForm1() override;

    // The creation step, once the window is built.
    void FormCreate();
    // The windows the menus show and hide; a command whose window is not
    // there stays disabled.
    void setAboutBox(QWidget* aboutBox);
    void setLogViewers(QWidget* basicVariables, QWidget* computedVariables, QWidget* energy);
    // Every show of this window refills it from the live settings.
    void setSettingsDialog(TSetting* settings);
    void setGraphics(QWidget* graphics);

    void GoToTray();
    // The tray icon's left click: the window back, the icon gone.
    void restoreFromTray();
    // While the window waits in the tray, this runs every few seconds: a
    // tray that has gone away gives the window back, so a hidden window
    // without an icon never happens.
    void checkTrayStillThere();
    QSystemTrayIcon& trayIcon() { return *m_tray; }
    QMenu& trayMenu() { return *m_trayMenu; }

    // The end of the session or a signal: closes as "Close" answered Yes,
    // without asking.
    void closeWithoutQuestion();

signals:
    // Everything is taken down and written: the program may end.
    void programClosed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void subscribe();
    void connectCommands();
    void bindTimers();
    void setUpTray();
    void showLinkState();
    void showLinkColour(const char* state);
    void showDisplay(const DisplayTexts& texts);
    void showLabels(const DisplayLabels& labels);
    void reallyClose();
    static void toggle(QWidget* window);
    static void bringUp(QWidget* window);

    std::unique_ptr<Ui::TForm1> m_ui;
    std::array<QLabel*, kBasicVariableCount> m_basicPanels{};
    std::array<QLabel*, kComputedValueCount> m_computedPanels{};
    std::array<QLabel*, kBasicVariableCount> m_basicLabels{};
    std::array<QLabel*, kComputedValueCount> m_computedLabels{};
    std::array<QLabel*, kComputedValueCount> m_computedUnits{};
    Hub& m_hub;
    QueuedInvoker& m_mainThread;
    Prompts& m_prompts;
    std::function<bool()> m_trayAvailable;
    QTimer* m_trayWatch = nullptr;
    QPointer<QWidget> m_aboutBox;
    QPointer<QWidget> m_basicVariables;
    QPointer<QWidget> m_computedVariables;
    QPointer<QWidget> m_energy;
    QPointer<QWidget> m_graphics;
    QPointer<TSetting> m_settings;
    QSystemTrayIcon* m_tray = nullptr;
    QMenu* m_trayMenu = nullptr;
    CoalescedPost m_linkRefresh{m_mainThread, [this] { showLinkState(); }};
    std::unique_ptr<EventListModel> m_eventModel;
    ElidedCaptions* m_captions = nullptr;
    std::vector<std::unique_ptr<TimerBinding>> m_timers;
    // Last, so the hub stops telling the window first.
    std::vector<Subscription> m_subscriptions;
};

}  // namespace brevanto
