#include "ui/refreshthrottle.h"

namespace brevanto {

RefreshThrottle::RefreshThrottle(int intervalMs, std::function<void()> run, QObject* parent)
    : QObject(parent), m_run(std::move(run)) {
    m_hold.setSingleShot(true);
    m_hold.setInterval(intervalMs);
    connect(&m_hold, &QTimer::timeout, this, &RefreshThrottle::holdOver);
}

void RefreshThrottle::request() {
    if (m_hold.isActive()) {
        m_pending = true;
        return;
    }
    if (!m_queued) {
        m_queued = true;
        QMetaObject::invokeMethod(this, &RefreshThrottle::runAndHold, Qt::QueuedConnection);
    }
}

void RefreshThrottle::runAndHold() {
    m_queued = false;
    m_pending = false;
    m_run();
    m_hold.start();
}

void RefreshThrottle::holdOver() {
    if (m_pending) {
        runAndHold();
    }
}

}  // namespace brevanto
