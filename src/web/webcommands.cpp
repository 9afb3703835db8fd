#include "web/webcommands.h"

#include <string_view>

#include "platform/optionalhooks.h"
#include "web/accessrule.h"
#include "web/appendparagraph.h"

namespace brevanto {
namespace {

bool contains(std::string_view body, std::string_view text) {
    return body.find(text) != std::string_view::npos;
}

}  // namespace

WebCommands::WebCommands(const WebHooks& hooks)
    : m_hooks(hooks),
      m_throttle(hooks.clock, hooks.events),
      // The hooks are copied: the work may run after this request is long
      // answered, and must not depend on the handler still being there.
      m_pendingForms(hooks.mainThread, [hooks](const std::vector<TimerFormOutcome>& forms) {
          applyTimerForms(forms, hooks);
      }) {}

void WebCommands::HandleTimerForm(const WebRequest& request, WebResponse& response) {
    bool timeError = false;
    if (timerFormAuthorised(request)) {
        const TimerFormOutcome outcome = readTimerForm(request.body, m_hooks.format);
        m_pendingForms.add(outcome);
        timeError = outcome.timeError;
    }
    callIfSet(m_hooks.requestDisplayRefresh);
    response.body = RenderPage(m_hooks.pages.TimerPage());
    if (timeError) {
        AppendParagraph(response.body, kTimeFormatError);
    }
}

bool WebCommands::timerFormAuthorised(const WebRequest& request) {
    // Without a way to learn the password no form gets through: an empty
    // stored password lets everyone in, a missing hook must not.
    if (!m_hooks.webPassword) {
        return false;
    }
    const bool matched = SubmissionAuthorised(request.body, "T2", m_hooks.webPassword());
    return m_throttle.admit(request.peerAddress, matched);
}

void WebCommands::applyTimerForms(const std::vector<TimerFormOutcome>& forms,
                                  const WebHooks& hooks) {
    bool stored = false;
    for (const TimerFormOutcome& form : forms) {
        stored = applyTimerForm(form, hooks) || stored;
    }
    if (stored) {
        callIfSet(hooks.saveSettings);
    }
}

bool WebCommands::applyTimerForm(const TimerFormOutcome& outcome, const WebHooks& hooks) {
    for (int timer = 0; timer < 4; ++timer) {
        callIfSet(hooks.timerDialog.enableBox, timer, outcome.enabled[timer]);
    }
    if (!hooks.appSettings) {
        return false;
    }
    TDati& settings = hooks.appSettings();
    // The boxes hold what the form sent, so their states are the form's.
    settings.timerEnabled = outcome.enabled;
    const LocalDate today = hooks.clock.now().date;
    bool stored = false;
    for (int timer = 0; timer < 4; ++timer) {
        const auto& times = outcome.accepted[timer];
        if (!times) {
            continue;
        }
        const LocalDateTime on{today, times->on};
        const LocalDateTime off{today, times->off};
        settings.timeOn[timer] = on;
        settings.timeOff[timer] = off;
        callIfSet(hooks.timerDialog.pickers, timer, on, off);
        stored = true;
    }
    return stored;
}

void WebCommands::HandleMainPagePost(const WebRequest& request, WebResponse& response) {
    const std::string_view body = request.body;
    // The output-switch step (fields "C1" to "C8" with "T1=" and the
    // password) would set the main window's output switches. There are no
    // output switches, nothing reads them and no page sends these fields,
    // so an authorised main-page post switches nothing.
    if (contains(body, "T1=log")) {
        response.body = eventListing();
    } else if (contains(body, "T1=data")) {
        response.body.clear();
    } else {
        response.body = RenderPage(m_hooks.pages.MainPage());
    }
    // No command is ever launched from the web: a page must not be a way to
    // run programs on this computer.
    if (contains(body, "T1=exe")) {
        AppendParagraph(response.body, kExeNotExecuted);
    }
}

std::string WebCommands::eventListing() const {
    std::string listing;
    for (const std::string& line : m_hooks.eventList.snapshot()) {
        listing += R"(<p align="left">)";
        listing += line;
        listing += "</p>";
    }
    return listing;
}

}  // namespace brevanto
