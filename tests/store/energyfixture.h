// The day's energy files in a fresh working folder, with the real checkpoint
// writer on its thread and this thread as the main thread.
#pragma once

#include <filesystem>

#include <gtest/gtest.h>

#include "platform/backgroundfilewriter.h"
#include "platform/queuedinvoker.h"
#include "platform/services.h"
#include "platform/testing/manualclock.h"
#include "platform/testing/recordingeventsink.h"
#include "platform/testing/recordingprompts.h"
#include "support/tempdir.h"

namespace brevanto::testing {

class EnergyFixture : public ::testing::Test {
protected:
    EnergyFixture() { std::filesystem::create_directory(dir / "Log"); }

    // Everything handed to the writer is on the disk and its outcome told.
    void settle() {
        writer.drain();
        mainThread.runPending();
    }

    TempDir dir;
    ManualClock clock;
    DateTimeFormat format{"%d/%m/%Y", "%H:%M:%S"};
    RecordingPrompts prompts;
    RecordingEventSink events;
    QueuedInvoker mainThread;
    Services services{clock, format, prompts, mainThread, events, dir.path()};
    BackgroundFileWriter writer{mainThread};
};

}  // namespace brevanto::testing
