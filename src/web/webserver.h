// The program's web server, IdHTTPServer1: listens on all local addresses on
// the [Http] Port that ApplySettings gives it, answers each connection on its
// own thread through the request handler, and can be switched off and on at
// once by the settings dialog's "Disable HTTP". All of its operations are
// called on the main thread.
#pragma once

#include <memory>
#include <string>

#include "platform/eventsink.h"
#include "store/webservercontrol.h"
#include "web/httpdaemon.h"
#include "web/webserveroptions.h"

namespace brevanto {

class WebServer final : public WebServerControl {
public:
    static constexpr int kDefaultPort = 80;
    static constexpr const char* kActivateFailed = "Failed to activate WEB server.";
    static constexpr const char* kDeactivateFailed = "Failed to DE-activate WEB server.";

    // `events` takes the failure lines of setActive; ApplySettings writes
    // its own.
    WebServer(HttpDaemon::Handler handler, EventSink& events, WebServerOptions options = {});
    // Stops the server, as the program's end does.
    ~WebServer() override;
    WebServer(const WebServer&) = delete;
    WebServer& operator=(const WebServer&) = delete;

    bool isActive() const override;
    // Stops within the options' terminateWait plus the time the handlers
    // still running take; the handlers never wait for anything.
    bool deactivate() override;
    // Starts on `port` (0: any free port, see boundPort), stopping first if
    // it runs. False when it cannot listen there; failureReason says why.
    bool activate(int port) override;
    std::string failureReason() const override { return m_failure; }

    // "Disable HTTP": stops at once, or starts again on the last port asked
    // for, writing the two failure lines when that fails. Not stored.
    void setActive(bool active);

    // The port listened on; 0 while stopped.
    int boundPort() const { return m_boundPort; }

private:
    HttpDaemon::Handler m_handler;
    EventSink& m_events;
    WebServerOptions m_options;
    std::unique_ptr<HttpDaemon> m_daemon;
    int m_port = kDefaultPort;
    int m_boundPort = 0;
    std::string m_failure;
};

}  // namespace brevanto
