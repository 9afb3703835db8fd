// The settings dialog. It edits a working copy of the settings, the hub's
// PendingSettings, and only "Apply" and "OK" make that copy the live
// settings, put them into effect and save them. Four controls act at once
// instead: "Disable HTTP", "Display all errors on log ", "Read variables
// only when requested by web" and "Send Test Email".
//
// As in the program's first home, setting a control from code runs its
// handler as a user's edit would: the handlers write the same value back
// and enable "Apply", which the show handler disables as its last step.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <vector>

#include <QWidget>

#include "hub/hub.h"
#include "platform/listeners.h"
#include "platform/prompts.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QTimeEdit;

namespace Ui {
class TSetting;
}

namespace brevanto {

class TSetting : public QWidget {
    Q_OBJECT

public:
    TSetting(Hub& hub, Prompts& prompts, QWidget* parent = nullptr);
    ~TSetting() override;

    // Copies the live settings over the working copy and loads every
    // control from it. Each show runs it, and so does the main window's.
    void FillSettingsDialog();
    // Enables "Apply".
    void MarkSettingsChanged();
    // "Apply": the working copy becomes the live settings, in effect and saved.
    void CommitPendingSettings();

protected:
    void showEvent(QShowEvent* event) override;
    // The number boxes take digits, Backspace, Enter and "-" only.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // One of the four output timers' groups of controls.
    struct TimerControls {
        QCheckBox* enabled;
        QTimeEdit* on;
        QTimeEdit* off;
        QCheckBox* nextDay;
        QComboBox* output;
        std::vector<QWidget*> dependents;
    };
    // A port box and the setting it holds once Enter accepts it.
    struct PortBox {
        QLineEdit* edit;
        std::string TDati::*field;
    };

    TDati& pending() { return m_hub.settings().PendingSettings(); }
    void bindText(QLineEdit* edit, std::function<std::string&(TDati&)> field);
    void bindFlag(QAbstractButton* box, std::function<bool&(TDati&)> field);
    void bindIndex(QComboBox* combo, std::function<std::int32_t&(TDati&)> field);
    void bindRadios(QButtonGroup* group, std::int32_t TDati::*field);
    void bindPortBox(const PortBox& box);
    void bindTimers();
    void bindImmediateControls();
    void setPortBoxPending(QLineEdit* edit, bool pending);
    void acceptPort(const PortBox& box);
    void fillTimer(int timer, std::size_t outputItems);
    void timerEnablingRule(int timer);
    void authenticationRule();
    void proxyRule();
    void relayRule();
    void mqttRule();
    void SendTestMail();
    QString portToolTip(int index) const;

    std::unique_ptr<Ui::TSetting> m_ui;
    Hub& m_hub;
    Prompts& m_prompts;
    QButtonGroup* m_measTime = nullptr;
    QButtonGroup* m_refreshTime = nullptr;
    std::array<QLineEdit*, kBasicVariableCount> m_basicLabels{};
    std::array<QLineEdit*, kComputedValueCount> m_computedLabels{};
    std::array<QLineEdit*, kComputedValueCount> m_computedUnits{};
    std::array<TimerControls, 4> m_timers{};
    std::vector<PortBox> m_portBoxes;
    std::vector<Subscription> m_subscriptions;
};

}  // namespace brevanto
