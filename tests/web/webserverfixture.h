// The web server as the program wires it, with stand-ins only where the hub
// and the windows would be: a real event journal, real page templates, a
// real settings store on an INI file in a fresh directory, and this test's
// thread as the main thread (a QueuedInvoker that tests serve by hand).
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "platform/queuedinvoker.h"
#include "platform/testing/manualclock.h"
#include "platform/testing/recordingprompts.h"
#include "store/eventlist.h"
#include "store/eventlog.h"
#include "store/settingsstore.h"
#include "support/tempdir.h"
#include "web/pagetemplates.h"
#include "web/webrequesthandler.h"
#include "web/webserver.h"

namespace brevanto::testing {

class WebServerFixture {
public:
    explicit WebServerFixture(DateTimeFormat format = DateTimeFormat("%d.%m.%Y", "%H:%M:%S"),
                              WebServerOptions options = {});

    // Starts on a free port (the tests' option); fails the test when it cannot.
    void start();
    std::string url(const std::string& path = "/") const;
    int port() const { return server.boundPort(); }

    // The web password as the settings and the web threads both see it.
    void setPassword(const std::string& password);
    // The hub's "resume the reading thread if suspended". Set before start.
    void setResumeReader(std::function<void()> resume) { m_resumeReader = std::move(resume); }

    std::filesystem::path iniPath() const { return dir / "brevanto.INI"; }
    std::string iniText() const;
    // Visit lines and other events, as the window's memo holds them.
    EventList::Lines events() const { return eventList.snapshot(); }

    TempDir dir;
    ManualClock clock;
    DateTimeFormat format;
    QueuedInvoker mainThread;
    RecordingPrompts prompts;
    PageTemplates pages;
    EventList eventList;
    EventLog eventLog;
    std::atomic<bool> reqByWeb{false};
    std::atomic<int> displayRefreshes{0};
    std::atomic<int> saves{0};
    // The dialog seam's calls, in order, as "box A 1" and "pickers A".
    std::vector<std::string> dialogCalls;

private:
    WebHooks hooks();

    std::function<void()> m_resumeReader;
    mutable std::mutex m_passwordMutex;
    std::string m_password;

public:
    SettingsStore store;
    WebRequestHandler handler;
    WebServer server;
};

}  // namespace brevanto::testing
