#include "webserverfixture.h"

#include <gtest/gtest.h>

namespace brevanto::testing {
namespace {

std::string timerLetter(int timer) {
    return std::string(1, static_cast<char>('A' + timer));
}

// Tests run side by side, each on a free port of its own.
WebServerOptions onAnyFreePort(WebServerOptions options) {
    options.anyFreePortForTests = true;
    return options;
}

}  // namespace

WebServerFixture::WebServerFixture(DateTimeFormat timeFormat, WebServerOptions options)
    : format(std::move(timeFormat)),
      eventLog(eventList, clock, format, prompts, dir.path()),
      store(SettingsFile(iniPath(), format), eventLog),
      handler(hooks()),
      server([this](const WebRequest& request) { return handler.IdHTTPServer1CommandGet(request); },
             onAnyFreePort(options)) {
    pages.BuildPageTemplates();
}

WebHooks WebServerFixture::hooks() {
    return WebHooks{
        .pages = pages,
        .eventList = eventList,
        .events = eventLog,
        .clock = clock,
        .format = format,
        .mainThread = mainThread,
        .webPassword =
            [this] {
                std::lock_guard lock(m_passwordMutex);
                return m_password;
            },
        .wakeReader =
            [this] {
                if (reqByWeb && m_resumeReader) {
                    m_resumeReader();
                }
            },
        .requestDisplayRefresh = [this] { ++displayRefreshes; },
        .appSettings = [this]() -> TDati& { return store.AppSettings(); },
        .saveSettings =
            [this] {
                ++saves;
                store.SaveSettings();
            },
        .timerDialog = {.enableBox =
                            [this](int timer, bool checked) {
                                dialogCalls.push_back("box " + timerLetter(timer) + " " +
                                                      std::to_string(checked));
                            },
                        .pickers =
                            [this](int timer, const LocalDateTime&, const LocalDateTime&) {
                                dialogCalls.push_back("pickers " + timerLetter(timer));
                            }},
    };
}

void WebServerFixture::start() {
    ASSERT_TRUE(server.activate(0)) << server.failureReason();
}

std::string WebServerFixture::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port()) + path;
}

void WebServerFixture::setPassword(const std::string& password) {
    store.AppSettings().webPassword = password;
    std::lock_guard lock(m_passwordMutex);
    m_password = password;
}

std::string WebServerFixture::iniText() const {
    return std::filesystem::exists(iniPath()) ? readFile(iniPath()) : std::string();
}

}  // namespace brevanto::testing
