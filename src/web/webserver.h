// The program's web server, IdHTTPServer1: listens on all local addresses on
// the port it is given and answers each connection on its own thread through
// the request handler. It says why it could not start; the web front reports
// that. All of its operations are called on the main thread.
#pragma once

#include <memory>
#include <string>

#include "web/httpdaemon.h"
#include "web/webserveroptions.h"

namespace brevanto {

class WebServer {
public:
    static constexpr int kDefaultPort = 8080;

    explicit WebServer(HttpDaemon::Handler handler, WebServerOptions options = {});
    // Stops the server, as the program's end does.
    ~WebServer();
    WebServer(const WebServer&) = delete;
    WebServer& operator=(const WebServer&) = delete;

    bool isActive() const;
    // Stops within the options' terminateWait plus the time the handlers
    // still running take; the handlers never wait for anything. False when
    // the server raised an error while stopping.
    bool deactivate();
    // Starts on `port` 1 to 65535, stopping first if it runs; 0 only with
    // the tests' option anyFreePortForTests, for any free port (see
    // boundPort). False when it cannot listen there; failureReason says why.
    bool activate(int port);
    // Why the last activate failed, in the system's words, so that the
    // user learns what to change (a port in use, a port that needs
    // privileges); empty when there is nothing to add.
    const std::string& failureReason() const { return m_failure; }

    // The port last asked for, which "Disable HTTP" starts again on.
    int port() const { return m_port; }
    // The port listened on; 0 while stopped.
    int boundPort() const { return m_boundPort; }

private:
    HttpDaemon::Handler m_handler;
    WebServerOptions m_options;
    std::unique_ptr<HttpDaemon> m_daemon;
    int m_port = kDefaultPort;
    int m_boundPort = 0;
    std::string m_failure;
};

}  // namespace brevanto
