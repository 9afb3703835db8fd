// An event sink for tests that keeps the bare messages, without stamps.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "platform/eventsink.h"

namespace brevanto::testing {

class RecordingEventSink final : public EventSink {
public:
    void WriteEvent(std::string_view message) override {
        std::lock_guard lock(m_mutex);
        m_messages.emplace_back(message);
    }
    std::vector<std::string> messages() const {
        std::lock_guard lock(m_mutex);
        return m_messages;
    }
    void clear() {
        std::lock_guard lock(m_mutex);
        m_messages.clear();
    }

private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_messages;
};

}  // namespace brevanto::testing
