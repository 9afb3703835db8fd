#include "inverter-sim/consolecommand.h"

namespace brevanto::sim {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::vector<std::string_view> splitWords(std::string_view text) {
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && isBlank(text[i])) {
            ++i;
        }
        const size_t start = i;
        while (i < text.size() && !isBlank(text[i])) {
            ++i;
        }
        if (i > start) {
            words.push_back(text.substr(start, i - start));
        }
    }
    return words;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Pairs of hex digits; blanks may separate pairs but never split one.
std::optional<std::vector<uint8_t>> parseHex(const std::vector<std::string_view>& words) {
    std::vector<uint8_t> bytes;
    for (const std::string_view word : words) {
        if (word.size() % 2 != 0) {
            return std::nullopt;
        }
        for (size_t i = 0; i < word.size(); i += 2) {
            const int high = hexDigit(word[i]);
            const int low = hexDigit(word[i + 1]);
            if (high < 0 || low < 0) {
                return std::nullopt;
            }
            bytes.push_back(static_cast<uint8_t>(high << 4 | low));
        }
    }
    return bytes;
}

ConsoleLine parseSwitch(std::string_view verb, const std::vector<std::string_view>& args) {
    if (args.size() != 1 || (args[0] != "on" && args[0] != "off")) {
        return Rejected{std::string(verb) + " takes on or off"};
    }
    const bool on = args[0] == "on";
    if (verb == "silent") {
        return SetSilent{on};
    }
    if (verb == "grid") {
        return SetGrid{on};
    }
    if (verb == "nak") {
        return SetNak{on};
    }
    if (verb == "babble") {
        return SetBabble{on};
    }
    return SetBadCrc{on};
}

ConsoleLine parseMode(const std::vector<std::string_view>& args) {
    if (args.size() != 1 || args[0].size() != 1 || args[0][0] < 'A' || args[0][0] > 'Z') {
        return Rejected{"mode takes one letter A-Z"};
    }
    return SetMode{args[0][0]};
}

ConsoleLine parseRaw(const std::vector<std::string_view>& args) {
    if (args.size() < 2) {
        return Rejected{"raw takes a command and hex bytes"};
    }
    auto bytes = parseHex({args.begin() + 1, args.end()});
    if (!bytes) {
        return Rejected{"raw bytes must be pairs of hex digits"};
    }
    return QueueRaw{std::string(args[0]), std::move(*bytes)};
}

// The payload is everything after the blank that follows the verb, blanks
// and all, because real payloads are blank-separated fields.
ConsoleLine parseQpigs(std::string_view line) {
    const size_t blank = line.find(' ');
    const std::string_view payload =
        blank == std::string_view::npos ? std::string_view{} : line.substr(blank + 1);
    if (payload.empty()) {
        return Rejected{"qpigs takes a payload or auto"};
    }
    if (payload == "auto") {
        return SetQpigs{};
    }
    return SetQpigs{std::string(payload)};
}

}  // namespace

ConsoleLine parseConsoleLine(std::string_view line) {
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    const std::vector<std::string_view> words = splitWords(line);
    if (words.empty()) {
        return Rejected{"empty command"};
    }
    const std::string_view verb = words[0];
    const std::vector<std::string_view> args(words.begin() + 1, words.end());
    if (verb != line.substr(0, verb.size())) {
        return Rejected{"unknown command"};
    }
    if (verb == "qpigs") {
        return parseQpigs(line);
    }
    if (verb == "mode") {
        return parseMode(args);
    }
    if (verb == "raw") {
        return parseRaw(args);
    }
    if (verb == "silent" || verb == "badcrc" || verb == "grid" || verb == "nak" ||
        verb == "babble") {
        return parseSwitch(verb, args);
    }
    if (verb == "unplug" || verb == "plug" || verb == "report") {
        if (!args.empty()) {
            return Rejected{std::string(verb) + " takes nothing"};
        }
        if (verb == "report") {
            return Report{};
        }
        return SetPlugged{verb == "plug"};
    }
    if (verb == "quit") {
        return args.empty() ? ConsoleLine{Quit{}} : ConsoleLine{Rejected{"quit takes nothing"}};
    }
    return Rejected{"unknown command '" + std::string(verb) + "'"};
}

}  // namespace brevanto::sim
