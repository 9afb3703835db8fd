#include "web/webserver.h"

#include <utility>

#include "web/listensocket.h"

namespace brevanto {

WebServer::WebServer(HttpDaemon::Handler handler, WebServerOptions options)
    : m_handler(std::move(handler)), m_options(options) {}

WebServer::~WebServer() {
    deactivate();
}

bool WebServer::isActive() const {
    return m_daemon != nullptr;
}

bool WebServer::deactivate() {
    m_daemon.reset();
    m_boundPort = 0;
    return true;
}

bool WebServer::activate(int port) {
    deactivate();
    m_port = port;
    m_failure.clear();
    // Port 0 would listen where no browser knows to look.
    if (port == 0 && !m_options.anyFreePortForTests) {
        m_failure = portOutOfRange(port);
        return false;
    }
    ListenSocket listener = openListenSocket(port, m_options.listenQueue);
    if (listener.fd < 0) {
        m_failure = std::move(listener.failure);
        return false;
    }
    m_daemon = HttpDaemon::start(listener.fd, m_handler, m_options, m_failure);
    if (!m_daemon) {
        return false;
    }
    m_boundPort = listener.port;
    return true;
}

}  // namespace brevanto
