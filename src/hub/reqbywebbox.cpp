#include "hub/reqbywebbox.h"

#include "acquisition/reqbyweb.h"
#include "platform/optionalhooks.h"

namespace brevanto {

ReqByWebBox::ReqByWebBox(EventSink& events, SettingsStore& settings, Acquisition& acquisition)
    : m_events(events), m_settings(settings), m_acquisition(acquisition) {}

void ReqByWebBox::ReqByWebClick(bool checked) {
    m_acquisition.setOnRequestOnly(checked);
    ReqByWebHooks hooks;
    hooks.autoReConnect = [this] { return m_settings.AppSettings().autoReConnect; };
    // The dialog's boxes follow the settings, or its next OK would bring
    // back what this handler has just changed.
    hooks.setAutoReConnect = [this](bool on) {
        m_settings.AppSettings().autoReConnect = on;
        callIfSet(m_dialog.autoReConnect, on);
    };
    hooks.rememberedAutoReConnect = [this] { return m_settings.RememberedAutoReConnect(); };
    hooks.checkDialogReconnect = [this](bool on) { callIfSet(m_dialog.autoReConnect, on); };
    hooks.storeReqByWeb = [this](bool on) {
        m_settings.AppSettings().reqByWeb = on;
        callIfSet(m_dialog.reqByWeb, on);
    };
    hooks.resumeReader = [this] { m_acquisition.resumeIfSuspended(); };
    brevanto::ReqByWebClick(checked, m_events, hooks);
}

void ReqByWebBox::setBox(bool checked) {
    if (checked == this->checked()) {
        return;
    }
    m_listeners.notify(checked);
    ReqByWebClick(checked);
}

}  // namespace brevanto
