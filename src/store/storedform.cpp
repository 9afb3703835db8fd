#include "store/storedform.h"

#include <algorithm>
#include <charconv>

#include "platform/texttrim.h"

namespace brevanto {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool isQuote(char c) {
    return c == '"' || c == '\'';
}

bool isQuoted(std::string_view text) {
    return text.size() >= 2 && isQuote(text.front()) && text.back() == text.front();
}

std::optional<std::uint64_t> digits(std::string_view text, int base) {
    std::uint64_t value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || result.ec != std::errc{} || result.ptr != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::int32_t> hexadecimal(std::string_view text, bool negative) {
    const auto value = digits(text, 16);
    if (!value || *value > 0xFFFFFFFFu) {
        return std::nullopt;
    }
    const auto bits = static_cast<std::uint32_t>(*value);
    return static_cast<std::int32_t>(negative ? 0u - bits : bits);
}

std::optional<std::int32_t> decimal(std::string_view text, bool negative) {
    const auto value = digits(text, 10);
    const std::uint64_t limit = negative ? 2147483648u : 2147483647u;
    if (!value || *value > limit) {
        return std::nullopt;
    }
    const auto magnitude = static_cast<std::int64_t>(*value);
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

}  // namespace

std::optional<std::int32_t> parseStoredInteger(std::string_view text) {
    text = trimmed(text);
    const bool negative = text.starts_with('-');
    if (negative || text.starts_with('+')) {
        text.remove_prefix(1);
    }
    if (text.starts_with('$')) {
        return hexadecimal(text.substr(1), negative);
    }
    if (text.starts_with("0x") || text.starts_with("0X")) {
        return hexadecimal(text.substr(2), negative);
    }
    return decimal(text, negative);
}

std::string storedInteger(std::int32_t value) {
    return std::to_string(value);
}

std::optional<bool> parseStoredFlag(std::string_view text) {
    const auto value = parseStoredInteger(text);
    if (!value) {
        return std::nullopt;
    }
    return *value != 0;
}

std::string storedFlag(bool value) {
    return value ? "1" : "0";
}

std::string textFromStored(std::string_view stored) {
    if (isQuoted(stored)) {
        stored = stored.substr(1, stored.size() - 2);
    }
    return std::string(stored);
}

std::string storedText(std::string_view text) {
    std::string line(text);
    std::replace(line.begin(), line.end(), '\r', ' ');
    std::replace(line.begin(), line.end(), '\n', ' ');
    const bool needsQuotes =
        !line.empty() && (isBlank(line.front()) || isBlank(line.back()) || isQuoted(line));
    return needsQuotes ? '"' + line + '"' : line;
}

std::optional<TimeOfDay> parseStoredTime(std::string_view text, const DateTimeFormat& format) {
    static const DateTimeFormat kTwentyFourHours("%d/%m/%Y", "%H:%M:%S");
    static const DateTimeFormat kTwelveHours("%d/%m/%Y", "%I:%M:%S %p");
    static const DateTimeFormat kHoursMinutes("%d/%m/%Y", "%H:%M");
    static const DateTimeFormat kTwelveHoursMinutes("%d/%m/%Y", "%I:%M %p");
    for (const DateTimeFormat* candidate :
         {&format, &kTwentyFourHours, &kTwelveHours, &kHoursMinutes, &kTwelveHoursMinutes}) {
        if (auto time = candidate->parseTime(text)) {
            return time;
        }
    }
    return std::nullopt;
}

std::string storedTime(const TimeOfDay& time, const DateTimeFormat& format) {
    return format.formatTime(time);
}

}  // namespace brevanto
