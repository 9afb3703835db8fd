#include "curlclient.h"

#include <algorithm>
#include <cctype>

#include "support/childprocess.h"

namespace brevanto::testing {
namespace {

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    const auto last = text.find_last_not_of(" \t\r");
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

}  // namespace

HttpReply parseIncludedReply(const std::string& text) {
    HttpReply reply;
    std::size_t at = 0;
    for (;;) {
        const auto end = text.find("\r\n\r\n", at);
        const auto head = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
        reply.headers.clear();
        const auto firstLine = head.substr(0, head.find("\r\n"));
        const auto blank = firstLine.find(' ');
        reply.status = blank == std::string::npos ? 0 : std::atoi(firstLine.c_str() + blank + 1);
        for (std::size_t line = head.find("\r\n"); line != std::string::npos;) {
            const auto next = head.find("\r\n", line + 2);
            const auto field =
                head.substr(line + 2, next == std::string::npos ? next : next - line - 2);
            const auto colon = field.find(':');
            if (colon != std::string::npos) {
                reply.headers[lowered(field.substr(0, colon))] = trimmed(field.substr(colon + 1));
            }
            line = next;
        }
        at = end == std::string::npos ? text.size() : end + 4;
        if (reply.status < 100 || reply.status >= 200 || at >= text.size()) {
            break;
        }
    }
    reply.body = text.substr(std::min(at, text.size()));
    return reply;
}

HttpReply curl(const std::vector<std::string>& arguments) {
    std::vector<std::string> argv{"curl",      "--silent", "--show-error", "--include",
                                  "--noproxy", "*",        "--max-time",   "30"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    const ProcessRun run = runToExit(argv);
    if (run.exitStatus != 0 && run.output.empty()) {
        HttpReply reply;
        reply.error = run.errors.empty() ? "curl failed" : run.errors;
        return reply;
    }
    HttpReply reply = parseIncludedReply(run.output);
    reply.error = run.errors;
    return reply;
}

}  // namespace brevanto::testing
