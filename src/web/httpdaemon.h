// One running libmicrohttpd server: a thread per connection, requests handed
// whole to the handler, answers sent with their length. It lives from a
// successful start to its stop; a restart is a new daemon.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "web/requestsinflight.h"
#include "web/webrequest.h"
#include "web/webresponse.h"
#include "web/webserveroptions.h"

struct MHD_Daemon;

namespace brevanto {

class HttpDaemon {
public:
    // Runs on connection threads, many at once. It should not throw; if it
    // does, the answer is status 500 with the error's message.
    using Handler = std::function<WebResponse(const WebRequest&)>;

    // Serves the listening socket `listenFd`, which it takes over in any
    // case. Nothing, with `failure` set, when the library cannot start.
    static std::unique_ptr<HttpDaemon> start(int listenFd, Handler handler,
                                             const WebServerOptions& options, std::string& failure);
    // Stops: no new connections, requests under way get up to the options'
    // terminateWait to finish, then every connection is closed and every
    // connection thread has ended.
    ~HttpDaemon();
    HttpDaemon(const HttpDaemon&) = delete;
    HttpDaemon& operator=(const HttpDaemon&) = delete;

    // The library's messages, for the reason of a failed start.
    void log(std::string message);
    std::string lastLog() const;

    const Handler& handler() const { return m_handler; }
    const WebServerOptions& options() const { return m_options; }
    RequestsInFlight& inFlight() { return m_inFlight; }

private:
    HttpDaemon(Handler handler, const WebServerOptions& options);

    Handler m_handler;
    WebServerOptions m_options;
    RequestsInFlight m_inFlight;
    MHD_Daemon* m_daemon = nullptr;
    mutable std::mutex m_logMutex;
    std::string m_lastLog;
};

}  // namespace brevanto
