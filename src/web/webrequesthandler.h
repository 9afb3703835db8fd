// The routing of every request by method and path, as a plain function of
// the request: the server glue calls it on the connection thread, tests call
// it directly.
//
// GET "/Timer" answers the Timer page; GET "/DataLog" and "/MessageLog" an
// empty body; GET of any other path counts a visit and answers the main page.
// HEAD and unknown methods answer an empty body. A POST whose body holds
// "TAON" anywhere is the timer form; any other POST a main-page command,
// whatever its path (the Timer page posts to "--WEBBOT-SELF--").
#pragma once

#include <atomic>
#include <cstdint>

#include "web/webcommands.h"
#include "web/webhooks.h"
#include "web/webrequest.h"
#include "web/webresponse.h"
#include "web/webvisits.h"

namespace brevanto {

class WebRequestHandler {
public:
    // The hooks are kept; what they refer to must outlive the handler.
    explicit WebRequestHandler(WebHooks hooks);
    WebRequestHandler(const WebRequestHandler&) = delete;
    WebRequestHandler& operator=(const WebRequestHandler&) = delete;

    // Never throws: an error inside becomes status 500 with its message.
    WebResponse IdHTTPServer1CommandGet(const WebRequest& request);

private:
    void route(const WebRequest& request, WebResponse& response);
    void answerGet(const WebRequest& request, WebResponse& response);

    WebHooks m_hooks;
    std::atomic<std::uint64_t> m_requests{0};
    WebVisits m_visits;
    WebCommands m_commands;
};

}  // namespace brevanto
