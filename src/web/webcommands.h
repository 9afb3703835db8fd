// The form submissions a browser can make: the Timer page's form, which sets
// the four output timers, and the main page's commands, which list the event
// journal or answer a page. Both read the raw, still percent-encoded body.
#pragma once

#include <vector>

#include "web/pendingtimerforms.h"
#include "web/submissionthrottle.h"
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
    // The timer changes go to the main thread with those of the other forms
    // waiting there; the answer is the Timer page at once, with the error
    // paragraph when a time of an authorised form did not read.
    void HandleTimerForm(const WebRequest& request, WebResponse& response);
    void HandleMainPagePost(const WebRequest& request, WebResponse& response);

private:
    // The access rule, and the throttle on guessing behind it.
    bool timerFormAuthorised(const WebRequest& request);
    // The main thread's part of the forms waiting: each form's dialog boxes
    // and enable flags, then its accepted timers' times and pickers; and one
    // SaveSettings for them all when any form stored a time.
    static void applyTimerForms(const std::vector<TimerFormOutcome>& forms, const WebHooks& hooks);
    // True when it stored a time.
    static bool applyTimerForm(const TimerFormOutcome& outcome, const WebHooks& hooks);
    std::string eventListing() const;

    const WebHooks& m_hooks;
    SubmissionThrottle m_throttle;
    PendingTimerForms m_pendingForms;
};

}  // namespace brevanto
