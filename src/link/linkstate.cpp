#include "link/linkstate.h"

namespace brevanto {

LinkState::Snapshot LinkState::snapshot() const {
    std::lock_guard lock(m_mutex);
    return m_state;
}

LinkPhase LinkState::phase() const {
    std::lock_guard lock(m_mutex);
    return m_state.phase;
}

bool LinkState::connected() const {
    std::lock_guard lock(m_mutex);
    return m_state.connected();
}

bool LinkState::testMode() const {
    std::lock_guard lock(m_mutex);
    return m_state.testChecked;
}

std::string LinkState::labelCaption() const {
    std::lock_guard lock(m_mutex);
    return m_state.labelCaption;
}

std::string LinkState::inverterSerial() const {
    std::lock_guard lock(m_mutex);
    return m_inverterSerial;
}

void LinkState::setPhase(LinkPhase phase) {
    change([phase](Snapshot& s) { s.phase = phase; });
}

void LinkState::setLabelCaption(std::string caption) {
    change([&caption](Snapshot& s) { s.labelCaption = std::move(caption); });
}

void LinkState::setConnectEnabled(bool enabled) {
    change([enabled](Snapshot& s) { s.connectEnabled = enabled; });
}

void LinkState::setTestChecked(bool checked) {
    change([checked](Snapshot& s) { s.testChecked = checked; });
}

void LinkState::setTestEnabled(bool enabled) {
    change([enabled](Snapshot& s) { s.testEnabled = enabled; });
}

// Nothing the window shows: no change to tell.
void LinkState::setInverterSerial(std::string serial) {
    std::lock_guard lock(m_mutex);
    m_inverterSerial = std::move(serial);
}

void LinkState::setChangeListener(std::function<void()> listener) {
    std::lock_guard lock(m_mutex);
    m_listener = std::move(listener);
}

void LinkState::change(const std::function<void(Snapshot&)>& edit) {
    std::function<void()> listener;
    {
        std::lock_guard lock(m_mutex);
        edit(m_state);
        listener = m_listener;
    }
    if (listener) {
        listener();
    }
}

}  // namespace brevanto
