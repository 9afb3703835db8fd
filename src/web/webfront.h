// The program's web side: the request handler with what it needs of the
// program, the server that serves it, and the settings the connection
// threads read (the web password, copied under a lock). Applying the
// settings restarts the server; its failure lines are written here and
// nowhere else. Everything but the handler runs on the main thread.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "platform/services.h"
#include "store/eventlist.h"
#include "store/settingsstore.h"
#include "web/pagetemplates.h"
#include "web/webhooks.h"
#include "web/webrequesthandler.h"
#include "web/webserver.h"

namespace brevanto {

class WebFront {
public:
    static constexpr const char* kActivateFailed = "Failed to activate WEB server.";
    static constexpr const char* kDeactivateFailed = "Failed to DE-activate WEB server.";

    // What the pages show and change. The hooks are called on connection
    // threads and must return at once.
    struct Program {
        PageTemplates& pages;
        EventList& eventList;
        SettingsStore& settings;
        // A main-page request, for the ReqByWeb mode's one cycle.
        std::function<void()> wakeReader{};
        // UpdateDisplay, posted to the main thread.
        std::function<void()> requestDisplayRefresh{};
        // The "/Chart" page and the "/metrics" values, on connection threads.
        std::function<std::string()> chartPage{};
        std::function<MetricsValues()> metrics{};
    };

    // Without `serve` the handler answers what tests hand it, but no port is
    // listened on: the default port is shared by the whole machine.
    WebFront(const Services& services, Program program, bool serve, WebServerOptions options = {});
    // Stops the server.
    ~WebFront();
    WebFront(const WebFront&) = delete;
    WebFront& operator=(const WebFront&) = delete;

    // The first step of applying the settings: the password the threads
    // check, then the server restarted on [Http] Port, also when nothing
    // changed.
    void configure(const TDati& settings);
    // "Disable HTTP": stops at once, or starts again on the last port asked
    // for. Not stored.
    void setActive(bool active);
    // The settings dialog's timer controls, which a timer form sets; once the
    // dialog exists.
    void setTimerDialog(TimerDialogSeam dialog) { m_timerDialog = std::move(dialog); }
    // No request reaches the program after this.
    void stop() { m_server.reset(); }

    WebRequestHandler& handler() { return m_handler; }
    // The server, when the program serves its pages.
    WebServer* server() { return m_server.get(); }

private:
    WebHooks hooks(const Services& services, const Program& program);
    std::string password() const;
    void start(int port);

    EventSink& m_events;
    mutable std::mutex m_passwordMutex;
    std::string m_password;
    TimerDialogSeam m_timerDialog;
    WebRequestHandler m_handler;
    // Last, so it stops first: its threads use everything above.
    std::unique_ptr<WebServer> m_server;
};

}  // namespace brevanto
