#include "web/httpdaemon.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdarg>
#include <cstdio>

#include <microhttpd.h>

#include "web/httpexchange.h"

namespace brevanto {
namespace {

void logMessage(void* daemon, const char* format, va_list arguments) {
    char text[512];
    std::vsnprintf(text, sizeof text, format, arguments);
    std::string message(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) {
        message.pop_back();
    }
    static_cast<HttpDaemon*>(daemon)->log(std::move(message));
}

}  // namespace

HttpDaemon::HttpDaemon(Handler handler, const WebServerOptions& options)
    : m_handler(std::move(handler)), m_options(options) {}

std::unique_ptr<HttpDaemon> HttpDaemon::start(int listenFd, Handler handler,
                                              const WebServerOptions& options,
                                              std::string& failure) {
    std::unique_ptr<HttpDaemon> daemon(new HttpDaemon(std::move(handler), options));
    constexpr unsigned kFlags = MHD_USE_THREAD_PER_CONNECTION | MHD_USE_INTERNAL_POLLING_THREAD |
                                MHD_USE_POLL | MHD_USE_ITC | MHD_USE_ERROR_LOG;
    HttpDaemon* self = daemon.get();
    daemon->m_daemon = MHD_start_daemon(
        kFlags, 0, nullptr, nullptr, &HttpExchange::onAccess, self, MHD_OPTION_LISTEN_SOCKET,
        listenFd, MHD_OPTION_CONNECTION_LIMIT, options.maxConnections,
        MHD_OPTION_CONNECTION_TIMEOUT, options.connectionTimeoutSeconds,
        MHD_OPTION_NOTIFY_COMPLETED, &HttpExchange::onCompleted, self, MHD_OPTION_EXTERNAL_LOGGER,
        &logMessage, self, MHD_OPTION_END);
    if (daemon->m_daemon == nullptr) {
        const std::string reason = daemon->lastLog();
        failure = "Cannot start the HTTP server" + (reason.empty() ? "." : ": " + reason);
        // The library may have closed the socket on its way out; closing it
        // again could close a descriptor opened meanwhile by another thread.
        if (::fcntl(listenFd, F_GETFD) != -1) {
            ::close(listenFd);
        }
        return nullptr;
    }
    return daemon;
}

HttpDaemon::~HttpDaemon() {
    if (m_daemon == nullptr) {
        return;
    }
    // The port is free again at once, and no new client gets in while the
    // requests under way finish.
    const MHD_socket listener = MHD_quiesce_daemon(m_daemon);
    if (listener != MHD_INVALID_SOCKET) {
        ::close(listener);
    }
    m_inFlight.waitUntilNone(m_options.terminateWait);
    MHD_stop_daemon(m_daemon);
}

void HttpDaemon::log(std::string message) {
    std::lock_guard lock(m_logMutex);
    m_lastLog = std::move(message);
}

std::string HttpDaemon::lastLog() const {
    std::lock_guard lock(m_logMutex);
    return m_lastLog;
}

}  // namespace brevanto
