#include "ui/timerbinding.h"

namespace brevanto {

TimerBinding::TimerBinding(CoreTimer& timer, std::function<void()> handler, QObject* parent)
    : QObject(parent), m_core(timer), m_handler(std::move(handler)) {
    m_timer.setTimerType(Qt::CoarseTimer);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (m_handler) {
            m_handler();
        }
    });
    m_following = m_core.addChangeListener([this] { follow(); });
    follow();
}

// A new interval restarts a running timer, as it always has.
void TimerBinding::follow() {
    if (!m_core.enabled()) {
        m_timer.stop();
        return;
    }
    if (!m_timer.isActive() || m_timer.interval() != m_core.interval()) {
        m_timer.start(m_core.interval());
    }
}

}  // namespace brevanto
