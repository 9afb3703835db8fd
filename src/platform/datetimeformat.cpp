#include "platform/datetimeformat.h"

#include <langinfo.h>
#include <locale.h>

#include <cctype>
#include <charconv>

#include "platform/texttrim.h"

namespace brevanto {
namespace {

using Field = DateTimeFormat::Field;
using Token = DateTimeFormat::Token;

constexpr std::string_view kFallbackDate = "%d/%m/%Y";
constexpr std::string_view kFallbackTime = "%H:%M:%S";

std::string expandComposites(std::string_view pattern) {
    std::string out;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%' || i + 1 >= pattern.size()) {
            out += pattern[i];
            continue;
        }
        const char c = pattern[++i];
        switch (c) {
            case 'D':
                out += "%m/%d/%Y";
                break;
            case 'T':
                out += "%H:%M:%S";
                break;
            case 'R':
                out += "%H:%M";
                break;
            case 'r':
                out += "%I:%M:%S %p";
                break;
            case 'F':
                out += "%Y-%m-%d";
                break;
            default:
                out += '%';
                out += c;
                break;
        }
    }
    return out;
}

std::optional<Field> fieldFor(char conversion, bool unpadded) {
    switch (conversion) {
        case 'd':
            return unpadded ? Field::DayUnpadded : Field::Day;
        case 'e':
            return Field::DayUnpadded;
        case 'm':
            return Field::Month;
        case 'Y':
        case 'y':
            return Field::Year;
        case 'H':
            return Field::Hour24;
        case 'I':
            return Field::Hour12;
        case 'M':
            return Field::Minute;
        case 'S':
            return Field::Second;
        case 'p':
            return Field::AmPm;
        default:
            return std::nullopt;
    }
}

std::optional<std::vector<Token>> tokenize(std::string_view rawPattern) {
    const std::string pattern = expandComposites(rawPattern);
    std::vector<Token> tokens;
    auto appendLiteral = [&tokens](char c) {
        if (tokens.empty() || tokens.back().field != Field::Literal) {
            tokens.push_back({Field::Literal, {}});
        }
        tokens.back().literal += c;
    };
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%') {
            appendLiteral(pattern[i]);
            continue;
        }
        if (++i >= pattern.size()) {
            return std::nullopt;
        }
        bool unpadded = false;
        if (pattern[i] == '-' || pattern[i] == '_' || pattern[i] == '0') {
            unpadded = pattern[i] != '0';
            if (++i >= pattern.size()) {
                return std::nullopt;
            }
        }
        if (pattern[i] == '%') {
            appendLiteral('%');
            continue;
        }
        const auto field = fieldFor(pattern[i], unpadded);
        if (!field) {
            return std::nullopt;
        }
        tokens.push_back({*field, {}});
    }
    return tokens;
}

std::vector<Token> tokenizeOr(std::string_view pattern, std::string_view fallback) {
    if (auto tokens = tokenize(pattern); tokens && !tokens->empty()) {
        return *tokens;
    }
    return *tokenize(fallback);
}

void appendNumber(std::string& out, int value, int width) {
    const std::string digits = std::to_string(value);
    if (static_cast<int>(digits.size()) < width) {
        out.append(static_cast<size_t>(width) - digits.size(), '0');
    }
    out += digits;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

// Reads 1 to maxDigits digits from the front of text.
std::optional<int> takeNumber(std::string_view& text, int maxDigits) {
    size_t length = 0;
    while (length < text.size() && length < static_cast<size_t>(maxDigits) &&
           std::isdigit(static_cast<unsigned char>(text[length]))) {
        ++length;
    }
    if (length == 0) {
        return std::nullopt;
    }
    int value = 0;
    std::from_chars(text.data(), text.data() + length, value);
    text.remove_prefix(length);
    return value;
}

}  // namespace

DateTimeFormat::DateTimeFormat(std::string_view shortDatePattern, std::string_view longTimePattern,
                               std::string amText, std::string pmText)
    : m_date(tokenizeOr(shortDatePattern, kFallbackDate)),
      m_time(tokenizeOr(longTimePattern, kFallbackTime)),
      m_am(amText.empty() ? "AM" : std::move(amText)),
      m_pm(pmText.empty() ? "PM" : std::move(pmText)) {}

DateTimeFormat DateTimeFormat::fromEnvironment() {
    locale_t locale = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(nullptr));
    if (locale == static_cast<locale_t>(nullptr)) {
        locale = newlocale(LC_TIME_MASK, "C", static_cast<locale_t>(nullptr));
    }
    DateTimeFormat format(nl_langinfo_l(D_FMT, locale), nl_langinfo_l(T_FMT, locale),
                          nl_langinfo_l(AM_STR, locale), nl_langinfo_l(PM_STR, locale));
    freelocale(locale);
    return format;
}

std::string DateTimeFormat::format(const std::vector<Token>& tokens,
                                   const LocalDateTime& value) const {
    std::string out;
    const TimeOfDay& t = value.time;
    for (const Token& token : tokens) {
        switch (token.field) {
            case Field::Literal:
                out += token.literal;
                break;
            case Field::Day:
                appendNumber(out, value.date.day, 2);
                break;
            case Field::DayUnpadded:
                appendNumber(out, value.date.day, 1);
                break;
            case Field::Month:
                appendNumber(out, value.date.month, 2);
                break;
            case Field::Year:
                appendNumber(out, value.date.year, 4);
                break;
            case Field::Hour24:
                appendNumber(out, t.hour, 2);
                break;
            case Field::Hour12:
                appendNumber(out, t.hour % 12 == 0 ? 12 : t.hour % 12, 2);
                break;
            case Field::Minute:
                appendNumber(out, t.minute, 2);
                break;
            case Field::Second:
                appendNumber(out, t.second, 2);
                break;
            case Field::AmPm:
                out += t.hour < 12 ? m_am : m_pm;
                break;
        }
    }
    return out;
}

std::string DateTimeFormat::formatDate(const LocalDate& date) const {
    return format(m_date, {date, {}});
}

std::string DateTimeFormat::formatTime(const TimeOfDay& time) const {
    return format(m_time, {{}, time});
}

std::string DateTimeFormat::formatDateTime(const LocalDateTime& dateTime) const {
    if (dateTime.time.isMidnight()) {
        return formatDate(dateTime.date);
    }
    return formatDate(dateTime.date) + ' ' + formatTime(dateTime.time);
}

std::optional<LocalDateTime> DateTimeFormat::parse(const std::vector<Token>& tokens,
                                                   std::string_view text) const {
    LocalDateTime value;
    int hour12 = -1;
    std::optional<bool> afternoon;
    for (const Token& token : tokens) {
        if (token.field == Field::Literal) {
            const std::string_view literal = trimmed(token.literal);
            text = trimmed(text);
            if (text.substr(0, literal.size()) != literal) {
                return std::nullopt;
            }
            text.remove_prefix(literal.size());
            continue;
        }
        text = trimmed(text);
        if (token.field == Field::AmPm) {
            if (equalsIgnoringCase(text.substr(0, m_am.size()), m_am)) {
                afternoon = false;
                text.remove_prefix(m_am.size());
            } else if (equalsIgnoringCase(text.substr(0, m_pm.size()), m_pm)) {
                afternoon = true;
                text.remove_prefix(m_pm.size());
            } else {
                return std::nullopt;
            }
            continue;
        }
        const auto number = takeNumber(text, token.field == Field::Year ? 4 : 2);
        if (!number) {
            return std::nullopt;
        }
        switch (token.field) {
            case Field::Day:
            case Field::DayUnpadded:
                value.date.day = *number;
                break;
            case Field::Month:
                value.date.month = *number;
                break;
            case Field::Year:
                value.date.year = *number;
                break;
            case Field::Hour24:
                value.time.hour = *number;
                break;
            case Field::Hour12:
                hour12 = *number;
                break;
            case Field::Minute:
                value.time.minute = *number;
                break;
            case Field::Second:
                value.time.second = *number;
                break;
            default:
                break;
        }
    }
    if (!trimmed(text).empty()) {
        return std::nullopt;
    }
    if (hour12 >= 0) {
        if (hour12 < 1 || hour12 > 12) {
            return std::nullopt;
        }
        value.time.hour = hour12 % 12 + (afternoon.value_or(false) ? 12 : 0);
    }
    return value;
}

std::optional<LocalDate> DateTimeFormat::parseDate(std::string_view text) const {
    const auto value = parse(m_date, text);
    if (!value || !isValidDate(value->date)) {
        return std::nullopt;
    }
    return value->date;
}

std::optional<TimeOfDay> DateTimeFormat::parseTime(std::string_view text) const {
    const auto value = parse(m_time, text);
    if (!value || !isValidTime(value->time)) {
        return std::nullopt;
    }
    return value->time;
}

std::optional<LocalDateTime> DateTimeFormat::parseDateTime(std::string_view text) const {
    text = trimmed(text);
    if (const auto dateOnly = parseDate(text)) {
        return LocalDateTime{*dateOnly, {}};
    }
    // Dates and times may hold blanks of their own (a 12-hour clock's " PM",
    // some locales' dates), so each blank is tried as the border between them.
    for (size_t blank = text.find(' '); blank != std::string_view::npos;
         blank = text.find(' ', blank + 1)) {
        const auto date = parseDate(text.substr(0, blank));
        const auto time = date ? parseTime(text.substr(blank + 1)) : std::nullopt;
        if (date && time) {
            return LocalDateTime{*date, *time};
        }
    }
    return std::nullopt;
}

char DateTimeFormat::timeSeparator() const {
    for (const Token& token : m_time) {
        if (token.field == Field::Literal && !trimmed(token.literal).empty()) {
            return trimmed(token.literal).front();
        }
    }
    return ':';
}

}  // namespace brevanto
