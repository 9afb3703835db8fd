// A timer as the program's logic sees it: whether it runs and its interval.
// The logic reads and sets these ("if Timer3 is not enabled"); the window
// layer binds each one to a real timer and follows its changes.
#pragma once

#include <functional>
#include <utility>

#include "platform/listeners.h"

namespace brevanto {

class CoreTimer {
public:
    explicit CoreTimer(int intervalMs = 1000) : m_interval(intervalMs) {}

    bool enabled() const { return m_enabled; }
    int interval() const { return m_interval; }

    void setEnabled(bool enabled) {
        if (enabled != m_enabled) {
            m_enabled = enabled;
            notify();
        }
    }
    void setInterval(int intervalMs) {
        if (intervalMs != m_interval) {
            m_interval = intervalMs;
            notify();
        }
    }
    // Told after every change, in the order added: the binding to a real
    // timer, and whatever else must follow the timer (the reading thread's
    // copy of Timer1's interval).
    [[nodiscard]] Subscription addChangeListener(std::function<void()> listener) {
        return m_listeners.add(std::move(listener));
    }

private:
    void notify() { m_listeners.notify(); }

    bool m_enabled = false;
    int m_interval;
    Listeners<> m_listeners;
};

}  // namespace brevanto
