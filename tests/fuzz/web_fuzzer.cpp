// Any request a client may send: the routing by method and path, the
// main page's commands and the timer form with and without the password,
// and the settings work they hand to the main thread. An answer is always
// given, never an escaped error, and the settings stay readable times.
#include <cstdlib>
#include <string>

#include "platform/queuedinvoker.h"
#include "platform/testing/manualclock.h"
#include "platform/testing/recordingeventsink.h"
#include "store/eventlist.h"
#include "store/tdati.h"
#include "web/pagetemplates.h"
#include "web/webrequesthandler.h"

using namespace brevanto;

namespace {

struct World {
    World() { pages.BuildPageTemplates(); }

    testing::ManualClock clock;
    DateTimeFormat format{"%d/%m/%Y", "%H:%M:%S"};
    QueuedInvoker mainThread;
    testing::RecordingEventSink events;
    PageTemplates pages;
    EventList eventList;
    TDati settings;
    WebRequestHandler handler{WebHooks{
        .pages = pages,
        .eventList = eventList,
        .events = events,
        .clock = clock,
        .format = format,
        .mainThread = mainThread,
        .webPassword = [] { return std::string("sun"); },
        .wakeReader = [] {},
        .chartPage = [] { return std::string("<svg/>"); },
        .metrics = [] { return MetricsValues{}; },
        .requestDisplayRefresh = [] {},
        .appSettings = [this]() -> TDati& { return settings; },
        .saveSettings = [] {},
    }};
};

World& world() {
    static World made;
    return made;
}

constexpr const char* kMethods[] = {"GET", "POST", "HEAD", "BREW", ""};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    World& w = world();
    WebRequest request;
    request.method = kMethods[data[0] % std::size(kMethods)];
    const std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::size_t split = rest.find('\n');
    request.path = rest.substr(0, split);
    request.body = split == std::string::npos ? std::string() : rest.substr(split + 1);
    request.peerAddress = "127.0.0.1";

    const WebResponse response = w.handler.IdHTTPServer1CommandGet(request);
    if (response.status == 500) {
        // An error escaped a handler: the handler turned it into a 500.
        std::abort();
    }
    w.mainThread.runPending();
    w.events.clear();
    if (w.eventList.size() > 100) {
        w.eventList.clear();
    }
    return 0;
}
