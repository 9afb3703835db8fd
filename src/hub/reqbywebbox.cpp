#include "hub/reqbywebbox.h"

#include "acquisition/reqbyweb.h"

namespace brevanto {

ReqByWebBox::ReqByWebBox(EventSink& events, SettingsStore& settings, Acquisition& acquisition)
    : m_events(events), m_settings(settings), m_acquisition(acquisition) {}

void ReqByWebBox::ReqByWebClick(bool checked) {
    m_acquisition.setOnRequestOnly(checked);
    ReqByWebHooks hooks;
    hooks.autoReConnect = [this] { return m_settings.AppSettings().autoReConnect; };
    hooks.setAutoReConnect = [this](bool on) { m_settings.AppSettings().autoReConnect = on; };
    hooks.rememberedAutoReConnect = [this] { return m_settings.RememberedAutoReConnect(); };
    hooks.storeReqByWeb = [this](bool on) { m_settings.AppSettings().reqByWeb = on; };
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
