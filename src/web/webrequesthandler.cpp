#include "web/webrequesthandler.h"

#include <exception>
#include <utility>

namespace brevanto {

WebRequestHandler::WebRequestHandler(WebHooks hooks)
    : m_hooks(std::move(hooks)), m_visits(m_hooks), m_commands(m_hooks) {}

WebResponse WebRequestHandler::IdHTTPServer1CommandGet(const WebRequest& request) {
    ++m_requests;
    WebResponse response;
    try {
        route(request, response);
    } catch (const std::exception& error) {
        response = {500, error.what(), WebResponse::kPlainText};
    } catch (...) {
        response = {500, "Internal server error", WebResponse::kPlainText};
    }
    return response;
}

void WebRequestHandler::route(const WebRequest& request, WebResponse& response) {
    if (request.method == "GET") {
        answerGet(request, response);
    } else if (request.method == "POST") {
        if (request.body.find("TAON") != std::string::npos) {
            m_commands.HandleTimerForm(request, response);
        } else {
            m_commands.HandleMainPagePost(request, response);
        }
    }
    // HEAD and every other method: an empty body.
}

void WebRequestHandler::answerGet(const WebRequest& request, WebResponse& response) {
    if (request.path == "/Timer") {
        response.body = RenderPage(m_hooks.pages.TimerPage());
    } else if (request.path == "/metrics" && m_hooks.metrics) {
        MetricsValues values = m_hooks.metrics();
        values.webRequests = m_requests;
        response.body = renderMetrics(values);
        response.contentType = kMetricsContentType;
    } else if (request.path == "/Chart" && m_hooks.chartPage) {
        response.body = m_hooks.chartPage();
    } else if (request.path == "/DataLog" || request.path == "/MessageLog") {
        // Recognised, but nothing is served there.
    } else {
        m_visits.RecordWebVisit(request.peerAddress);
        response.body = RenderPage(m_hooks.pages.MainPage());
    }
}

}  // namespace brevanto
