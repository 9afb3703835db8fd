// The scheduler's handlers run one at a time. A message box opened by one
// (a file that cannot be written) runs an event loop in which the timers go
// on firing; a handler that arrives then returns at once instead of
// running inside the first.
#pragma once

namespace brevanto {

class OneAtATime {
public:
    explicit OneAtATime(bool& busy) : m_busy(busy), m_entered(!busy) { m_busy = true; }
    ~OneAtATime() {
        if (m_entered) {
            m_busy = false;
        }
    }
    OneAtATime(const OneAtATime&) = delete;
    OneAtATime& operator=(const OneAtATime&) = delete;

    bool entered() const { return m_entered; }

private:
    bool& m_busy;
    bool m_entered;
};

}  // namespace brevanto
