// Headless Chromium driven over its DevTools pipe (--remote-debugging-pipe:
// commands on descriptor 3, answers and events on 4, each a JSON text ended
// by a NUL), for tests that load pages and use them as a person would.
#pragma once

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "support/childprocess.h"

namespace brevanto::testing {

class CdpBrowser {
public:
    static constexpr const char* kChromium = "/usr/bin/chromium";
    static bool available();

    // Starts Chromium with a fresh profile under `profile`; its own output
    // goes to `profile`/chromium.log. Throws when it does not answer.
    explicit CdpBrowser(const std::filesystem::path& profile);
    ~CdpBrowser();
    CdpBrowser(const CdpBrowser&) = delete;
    CdpBrowser& operator=(const CdpBrowser&) = delete;

    // Opens a tab and loads `url`, returning when the page has loaded.
    void open(const std::string& url);
    void navigate(const std::string& url);
    // Runs `expression` in the page; its value as text (strings unquoted).
    std::string evaluate(const std::string& expression);
    // Focuses the element `selector` finds and types `text` into it.
    void typeInto(const std::string& selector, const std::string& text);
    // Runs `script`, which makes the page load another (a form submitted),
    // and returns once that page has loaded.
    void evaluateAndWaitForLoad(const std::string& script);
    // The page as PNG bytes.
    std::string screenshot();

private:
    // Sends a command and returns its answer's "result" object as raw JSON;
    // throws on an error answer or when none comes in time.
    std::string call(const std::string& method, const std::string& params, bool inSession = true);
    void waitForEvent(const std::string& method);
    std::string nextMessage(std::chrono::steady_clock::time_point deadline);

    int m_toBrowser = -1;
    int m_fromBrowser = -1;
    std::unique_ptr<ChildProcess> m_process;
    std::string m_session;
    int m_nextId = 1;
    std::string m_received;
    std::vector<std::string> m_events;
};

}  // namespace brevanto::testing
