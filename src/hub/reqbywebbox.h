// The main window's "Read variables only when requested by web" box: its
// click handler, and the box as the program sets it when the settings are
// applied. Its state is the reading thread's gate; the window subscribes to
// show it.
#pragma once

#include <functional>

#include "acquisition/acquisition.h"
#include "platform/eventsink.h"
#include "platform/listeners.h"
#include "store/settingsstore.h"

namespace brevanto {

// The settings dialog's boxes that follow this one: its own "Read variables
// only when requested by web" and CheckBox29 "Auto Reconnect". Each sets the
// box as a program would, so the dialog's handler runs when it changes.
struct ReqByWebDialogBoxes {
    std::function<void(bool)> reqByWeb{};
    std::function<void(bool)> autoReConnect{};
};

class ReqByWebBox {
public:
    ReqByWebBox(EventSink& events, SettingsStore& settings, Acquisition& acquisition);

    bool checked() const { return m_acquisition.onRequestOnly(); }
    // The box was clicked into `checked`.
    void ReqByWebClick(bool checked);
    // Sets the box as a program would: its click handler runs when it changes.
    void setBox(bool checked);
    // Told the box's new state when the program sets it, not when clicked.
    Listeners<bool>& listeners() { return m_listeners; }
    // Once the settings dialog exists; empty boxes when it goes.
    void setDialogBoxes(ReqByWebDialogBoxes boxes) { m_dialog = std::move(boxes); }

private:
    EventSink& m_events;
    SettingsStore& m_settings;
    Acquisition& m_acquisition;
    Listeners<bool> m_listeners;
    ReqByWebDialogBoxes m_dialog;
};

}  // namespace brevanto
