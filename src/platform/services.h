// What every component of the program is built with: the clock, the date
// and number formats, the message boxes, the main thread's inbox, the event
// journal and the folder the program works in. One struct instead of six
// constructor parameters, so a component names only what it adds.
#pragma once

#include <filesystem>

#include "platform/clock.h"
#include "platform/datetimeformat.h"
#include "platform/eventsink.h"
#include "platform/prompts.h"
#include "platform/queuedinvoker.h"

namespace brevanto {

struct Services {
    const Clock& clock;
    const DateTimeFormat& format;
    Prompts& prompts;
    // The main thread's inbox; it outlives every component.
    QueuedInvoker& mainThread;
    EventSink& events;
    // Log/ and the fallback files go here: the program's working directory.
    std::filesystem::path root;
};

}  // namespace brevanto
