// What one file's checkpoints have done so far: the last line the file was
// given, so a minute without change writes nothing, and whether the current
// run of failures is already in the journal, so a disk that stays full costs
// one event line rather than one a minute. Outcomes come back from the writer
// through the main thread's inbox, possibly after the file's owner is gone;
// they then change nothing. Main thread.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/backgroundfilewriter.h"
#include "platform/eventsink.h"

namespace brevanto {

class CheckpointRecord {
public:
    explicit CheckpointRecord(EventSink& events);

    // False when `line` is what the file was last given.
    bool isNew(std::string_view line) const;
    // `line` is in the file now: a direct write succeeded.
    void written(std::string line);

    // `line` goes to the writer; the writer's outcome arrives through the
    // returned `done`. A failure forgets the line, so the next checkpoint
    // tries again, and writes `failureEvent` if this run of failures has
    // not yet.
    BackgroundFileWriter::Done handedOver(std::string line, std::string failureEvent);
    // A checkpoint that could not even be handed over.
    void failed(std::string_view failureEvent);

private:
    struct State {
        EventSink& events;
        std::string last;
        bool failureReported = false;

        void failed(std::string_view failureEvent);
    };
    std::shared_ptr<State> m_state;
};

}  // namespace brevanto
