// The form submissions a browser can make: the Timer page's form, which sets
// the four output timers, and the main page's commands, which list the event
// journal or answer a page. Both read the raw, still percent-encoded body.
#pragma once

#include "web/timerform.h"
#include "web/webhooks.h"
#include "web/webrequest.h"
#include "web/webresponse.h"

namespace brevanto {

class WebCommands {
public:
    static constexpr const char* kTimeFormatError =
        R"(Time format error, or error in value. Use "hh.mm.ss".)";
    static constexpr const char* kExeNotExecuted = "Command EXE NOT executed";

    explicit WebCommands(const WebHooks& hooks);

    // Both run on a connection thread and write the whole answer body.
    // The timer changes go to the main thread in one posted piece; the answer
    // is the Timer page at once, with the error paragraph when a time of an
    // authorised form did not read.
    void HandleTimerForm(const WebRequest& request, WebResponse& response);
    void HandleMainPagePost(const WebRequest& request, WebResponse& response);

    // The main thread's part of an authorised timer form: the dialog's boxes
    // and the enable flags, then for each accepted timer its two times, its
    // pickers and one SaveSettings.
    static void applyTimerForm(const TimerFormOutcome& outcome, const WebHooks& hooks);

private:
    void postTimerForm(const TimerFormOutcome& outcome);
    std::string eventListing() const;

    const WebHooks& m_hooks;
};

}  // namespace brevanto
