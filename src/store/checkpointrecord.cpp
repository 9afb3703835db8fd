#include "store/checkpointrecord.h"

namespace brevanto {

CheckpointRecord::CheckpointRecord(EventSink& events)
    : m_state(std::make_shared<State>(State{events, {}})) {}

bool CheckpointRecord::isNew(std::string_view line) const {
    return line != m_state->last;
}

void CheckpointRecord::written(std::string line) {
    m_state->last = std::move(line);
    m_state->failureReported = false;
}

BackgroundFileWriter::Done CheckpointRecord::handedOver(std::string line,
                                                        std::string failureEvent) {
    m_state->last = line;
    return [weak = std::weak_ptr<State>(m_state), line = std::move(line),
            failureEvent = std::move(failureEvent)](bool written) {
        const std::shared_ptr<State> state = weak.lock();
        if (!state) {
            return;
        }
        if (written) {
            state->failureReported = false;
            return;
        }
        if (state->last == line) {
            state->last.clear();
        }
        state->failed(failureEvent);
    };
}

void CheckpointRecord::failed(std::string_view failureEvent) {
    m_state->failed(failureEvent);
}

void CheckpointRecord::State::failed(std::string_view failureEvent) {
    if (!failureReported) {
        failureReported = true;
        events.WriteEvent(failureEvent);
    }
}

}  // namespace brevanto
