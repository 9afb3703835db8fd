#include "cdpbrowser.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <stdexcept>

namespace brevanto::testing {
namespace {

using SteadyClock = std::chrono::steady_clock;

// Only a guard against a browser that hangs.
constexpr auto kAnswerGuard = std::chrono::seconds(30);

std::string jsonString(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            default:
                out += c;
        }
    }
    return out + "\"";
}

// The JSON string that starts at `at` (its opening quote), decoded; only the
// escapes Chromium writes for page texts.
std::string stringAt(const std::string& json, std::size_t at) {
    std::string out;
    for (std::size_t i = at + 1; i < json.size() && json[i] != '"'; ++i) {
        if (json[i] != '\\' || i + 1 >= json.size()) {
            out += json[i];
            continue;
        }
        const char escaped = json[++i];
        if (escaped == 'n') {
            out += '\n';
        } else if (escaped == 't') {
            out += '\t';
        } else if (escaped == 'u' && i + 4 < json.size()) {
            const unsigned code = std::stoul(json.substr(i + 1, 4), nullptr, 16);
            out += code < 0x80 ? static_cast<char>(code) : '?';
            i += 4;
        } else {
            out += escaped;
        }
    }
    return out;
}

std::string field(const std::string& json, const std::string& name) {
    const std::string key = "\"" + name + "\":";
    const auto at = json.find(key);
    if (at == std::string::npos) {
        return {};
    }
    const auto value = at + key.size();
    return json[value] == '"' ? stringAt(json, value)
                              : json.substr(value, json.find_first_of(",}", value) - value);
}

std::array<int, 2> makePipe() {
    std::array<int, 2> ends{};
    if (::pipe2(ends.data(), O_CLOEXEC) != 0) {
        throw std::runtime_error("cannot create a pipe");
    }
    return ends;
}

}  // namespace

bool CdpBrowser::available() {
    return ::access(kChromium, X_OK) == 0;
}

CdpBrowser::CdpBrowser(const std::filesystem::path& profile) {
    const auto commands = makePipe();
    const auto answers = makePipe();
    m_toBrowser = commands[1];
    m_fromBrowser = answers[0];
    const std::vector<std::string> argv{
        kChromium,
        "--headless",
        "--no-sandbox",
        "--disable-gpu",
        "--disable-quic",
        "--no-first-run",
        "--disable-background-networking",
        "--disable-component-update",
        "--disable-sync",
        "--user-data-dir=" + profile.string(),
        "--remote-debugging-pipe",
        "--window-size=1000,1400",
        "about:blank",
    };
    // Still running at the end, it gets SIGTERM before SIGKILL: SIGTERM lets
    // it take its renderer and zygote processes down with it.
    m_process = std::make_unique<ChildProcess>(
        argv, ChildProcess::Options{.outputFile = profile / "chromium.log",
                                    .descriptors = {{3, commands[0]}, {4, answers[1]}},
                                    .endSignal = SIGTERM});
    ::close(commands[0]);
    ::close(answers[1]);
    call("Browser.getVersion", "{}", false);
}

CdpBrowser::~CdpBrowser() {
    try {
        call("Browser.close", "{}", false);
    } catch (const std::exception&) {
        // Ended below in any case.
    }
    ::close(m_toBrowser);
    ::close(m_fromBrowser);
    m_process->waitForExit(std::chrono::seconds(10));
}

void CdpBrowser::open(const std::string& url) {
    const std::string target =
        field(call("Target.createTarget", R"({"url":"about:blank"})", false), "targetId");
    m_session = field(call("Target.attachToTarget",
                           R"({"targetId":)" + jsonString(target) + R"(,"flatten":true})", false),
                      "sessionId");
    call("Page.enable", "{}");
    navigate(url);
}

void CdpBrowser::navigate(const std::string& url) {
    m_events.clear();
    call("Page.navigate", R"({"url":)" + jsonString(url) + "}");
    waitForEvent("Page.loadEventFired");
}

std::string CdpBrowser::evaluate(const std::string& expression) {
    const std::string result =
        call("Runtime.evaluate",
             R"({"expression":)" + jsonString(expression) + R"(,"returnByValue":true})");
    return field(result, "value");
}

void CdpBrowser::typeInto(const std::string& selector, const std::string& text) {
    evaluate("document.querySelector(" + jsonString(selector) + ").focus()");
    call("Input.insertText", R"({"text":)" + jsonString(text) + "}");
}

void CdpBrowser::evaluateAndWaitForLoad(const std::string& script) {
    m_events.clear();
    evaluate(script);
    waitForEvent("Page.loadEventFired");
}

std::string CdpBrowser::screenshot() {
    const std::string data = field(call("Page.captureScreenshot", R"({"format":"png"})"), "data");
    static const std::string kAlphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string bytes;
    unsigned bits = 0;
    int count = 0;
    for (const char c : data) {
        const auto value = kAlphabet.find(c);
        if (value == std::string::npos) {
            continue;
        }
        bits = (bits << 6) | static_cast<unsigned>(value);
        count += 6;
        if (count >= 8) {
            count -= 8;
            bytes += static_cast<char>((bits >> count) & 0xFF);
        }
    }
    return bytes;
}

std::string CdpBrowser::call(const std::string& method, const std::string& params, bool inSession) {
    const int id = m_nextId++;
    std::string message = R"({"id":)" + std::to_string(id) + R"(,"method":)" + jsonString(method) +
                          R"(,"params":)" + params;
    if (inSession && !m_session.empty()) {
        message += R"(,"sessionId":)" + jsonString(m_session);
    }
    message += '}';
    message += '\0';
    if (::write(m_toBrowser, message.data(), message.size()) !=
        static_cast<ssize_t>(message.size())) {
        throw std::runtime_error("cannot send " + method + " to the browser");
    }
    const std::string answerStart = R"({"id":)" + std::to_string(id) + ",";
    const auto deadline = SteadyClock::now() + kAnswerGuard;
    for (;;) {
        const std::string answer = nextMessage(deadline);
        if (!answer.starts_with(answerStart)) {
            m_events.push_back(answer);
            continue;
        }
        if (answer.find(R"("error":)") != std::string::npos) {
            throw std::runtime_error(method + " failed: " + answer);
        }
        return answer;
    }
}

void CdpBrowser::waitForEvent(const std::string& method) {
    const std::string wanted = R"("method":")" + method + "\"";
    const auto deadline = SteadyClock::now() + kAnswerGuard;
    for (std::size_t seen = 0;; ++seen) {
        while (seen >= m_events.size()) {
            m_events.push_back(nextMessage(deadline));
        }
        if (m_events[seen].find(wanted) != std::string::npos) {
            m_events.erase(m_events.begin(), m_events.begin() + static_cast<long>(seen) + 1);
            return;
        }
    }
}

std::string CdpBrowser::nextMessage(SteadyClock::time_point deadline) {
    for (;;) {
        const auto end = m_received.find('\0');
        if (end != std::string::npos) {
            std::string message = m_received.substr(0, end);
            m_received.erase(0, end + 1);
            return message;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now());
        pollfd readable{m_fromBrowser, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&readable, 1, static_cast<int>(left.count())) != 1) {
            throw std::runtime_error("the browser did not answer in time");
        }
        char buffer[65536];
        const ssize_t got = ::read(m_fromBrowser, buffer, sizeof buffer);
        if (got <= 0) {
            throw std::runtime_error("the browser closed its pipe");
        }
        m_received.append(buffer, static_cast<std::size_t>(got));
    }
}

}  // namespace brevanto::testing
