#include "web/formtime.h"

#include <algorithm>

namespace brevanto {
namespace {

constexpr std::size_t kTimeLength = 8;

std::string withSeparator(std::string_view text, char separator) {
    std::string out(text);
    std::replace_if(
        out.begin(), out.end(), [](char c) { return c == ':' || c == '.'; }, separator);
    return out;
}

}  // namespace

std::optional<std::string> takeFormTime(std::string_view body, std::string_view name) {
    const auto at = body.find(name);
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    const auto start = at + name.size() + 1;
    if (start >= body.size()) {
        return std::nullopt;
    }
    std::string text(body.substr(start, kTimeLength));
    if (text.back() == '&') {
        text.back() = ' ';
    }
    return text;
}

std::optional<TimeOfDay> parseFormTime(std::string_view text, const DateTimeFormat& format) {
    // The locale's long time first, which may want its own separator or an
    // AM/PM marker; then the plain 24-hour clock the form asks for.
    static const DateTimeFormat kTwentyFourHours("%d/%m/%Y", "%H:%M:%S");
    if (auto time = format.parseTime(withSeparator(text, format.timeSeparator()))) {
        return time;
    }
    return kTwentyFourHours.parseTime(withSeparator(text, ':'));
}

}  // namespace brevanto
