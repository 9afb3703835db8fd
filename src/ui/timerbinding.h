// A program timer as a real one: the QTimer follows the core timer's enabled
// state and interval, and its timeouts run the timer's handler.
#pragma once

#include <functional>

#include <QObject>
#include <QTimer>

#include "platform/coretimer.h"

namespace brevanto {

class TimerBinding : public QObject {
    Q_OBJECT

public:
    // `timer` must outlive the binding.
    TimerBinding(CoreTimer& timer, std::function<void()> handler, QObject* parent = nullptr);

private:
    void follow();

    CoreTimer& m_core;
    std::function<void()> m_handler;
    QTimer m_timer;
    Subscription m_following;
};

}  // namespace brevanto
