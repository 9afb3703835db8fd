#include "web/webfront.h"

#include "platform/optionalhooks.h"
#include "store/storedform.h"

namespace brevanto {

WebFront::WebFront(const Services& services, Program program, bool serve, WebServerOptions options)
    : m_events(services.events),
      m_handler(hooks(services, program)),
      m_server(serve ? std::make_unique<WebServer>(
                           [this](const WebRequest& request) {
                               return m_handler.IdHTTPServer1CommandGet(request);
                           },
                           options)
                     : nullptr) {}

WebFront::~WebFront() {
    stop();
}

// Connection threads call the first hooks; none of them waits for the main
// thread, or a server stopping on the main thread would wait for its own
// threads. The settings hooks run inside work posted to the main thread.
WebHooks WebFront::hooks(const Services& services, const Program& program) {
    WebHooks hooks{program.pages,  program.eventList, services.events,
                   services.clock, services.format,   services.mainThread};
    hooks.webPassword = [this] { return password(); };
    hooks.wakeReader = program.wakeReader;
    hooks.requestDisplayRefresh = program.requestDisplayRefresh;
    hooks.chartPage = program.chartPage;
    hooks.metrics = program.metrics;
    SettingsStore* settings = &program.settings;
    hooks.appSettings = [settings]() -> TDati& { return settings->AppSettings(); };
    hooks.saveSettings = [settings] { settings->SaveSettings(); };
    // The dialog comes later than the hooks: they ask for it when used.
    hooks.timerDialog.enableBox = [this](int timer, bool checked) {
        callIfSet(m_timerDialog.enableBox, timer, checked);
    };
    hooks.timerDialog.pickers = [this](int timer, const LocalDateTime& on,
                                       const LocalDateTime& off) {
        callIfSet(m_timerDialog.pickers, timer, on, off);
    };
    return hooks;
}

std::string WebFront::password() const {
    std::lock_guard lock(m_passwordMutex);
    return m_password;
}

void WebFront::configure(const TDati& settings) {
    {
        std::lock_guard lock(m_passwordMutex);
        m_password = settings.webPassword;
    }
    if (m_server != nullptr && m_server->isActive() && !m_server->deactivate()) {
        m_events.WriteEvent(kDeactivateFailed);
    }
    // A hand-edited port that is no number names no port to listen on: the
    // server stays off and says so, and the other settings still apply.
    const auto port = parseStoredInteger(settings.httpPort);
    if (!port) {
        m_events.WriteEvent(kActivateFailed);
        return;
    }
    if (m_server != nullptr) {
        start(*port);
    }
}

void WebFront::setActive(bool active) {
    if (m_server == nullptr || active == m_server->isActive()) {
        return;
    }
    if (!active) {
        if (!m_server->deactivate()) {
            m_events.WriteEvent(kDeactivateFailed);
        }
        return;
    }
    start(m_server->port());
}

void WebFront::start(int port) {
    if (m_server->activate(port)) {
        return;
    }
    m_events.WriteEvent(kActivateFailed);
    if (const std::string& reason = m_server->failureReason(); !reason.empty()) {
        m_events.WriteEvent(reason);
    }
}

}  // namespace brevanto
