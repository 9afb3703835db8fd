// Any file where a day's log, the month's energy log, the day's journal or
// the running totals should be: each loader reads it (the first byte picks
// which) without crashing, and a day's table holds only whole rows.
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzzfiles.h"
#include "platform/backgroundfilewriter.h"
#include "platform/queuedinvoker.h"
#include "platform/services.h"
#include "platform/testing/manualclock.h"
#include "platform/testing/recordingeventsink.h"
#include "store/daylog.h"
#include "store/energylog.h"
#include "store/energytotals.h"
#include "store/eventlist.h"
#include "store/eventlog.h"

using namespace brevanto;

namespace {

// A box says nothing here, and every question takes its default.
struct SilentPrompts final : Prompts {
    void showMessage(std::string_view) override {}
    void showWarning(std::string_view) override {}
    PromptAnswer ask(std::string_view) override { return PromptAnswer::Yes; }
    void showCaptionedWarning(std::string_view, std::string_view) override {}
    PromptAnswer confirm(std::string_view) override { return PromptAnswer::Yes; }
};

struct World {
    testing::ManualClock clock;
    DateTimeFormat format{"%d/%m/%Y", "%H:%M:%S"};
    SilentPrompts prompts;
    QueuedInvoker mainThread;
    testing::RecordingEventSink events;
    Services services{clock, format, prompts, mainThread, events, fuzzing::scratchFolder()};
    BackgroundFileWriter writer{mainThread};
    LocalDate today = clock.now().date;
};

World& world() {
    static World made;
    return made;
}

void input(const std::filesystem::path& relative, const std::uint8_t* data, std::size_t size) {
    fuzzing::writeInput(world().services.root / relative, data, size);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    World& w = world();
    const std::uint8_t which = data[0] % 5;
    ++data;
    --size;
    switch (which) {
        case 0:
        case 1: {
            DayLog log(which == 0 ? basicLogKind() : computedLogKind(), w.services);
            log.Name(w.today);
            input(log.currentPath(), data, size);
            const std::vector<std::string> titles(16, "title");
            log.Load(titles);
            break;
        }
        case 2: {
            EnergyLog log(w.services, w.writer);
            log.Name(w.today);
            input(log.currentPath(), data, size);
            (void)log.Load(w.today);
            break;
        }
        case 3: {
            EventList list;
            EventLog log(list, w.clock, w.format, w.prompts, w.services.root);
            log.NameEventFile();
            input(log.currentPath(), data, size);
            log.LoadEventLog();
            break;
        }
        case 4: {
            EnergyTotals totals(w.services, w.writer);
            input(EnergyTotals::path(), data, size);
            (void)totals.Read(w.today);
            break;
        }
    }
    w.writer.drain();
    w.mainThread.runPending();
    w.events.clear();
    return 0;
}
