// The one place where dates and times become text and back: the short date
// (always with a four-digit year) and the long time of the user's locale.
// Event stamps, log rows and the timer settings all go through it, so what
// the program writes it can always read again.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/localdatetime.h"

namespace brevanto {

class DateTimeFormat {
public:
    // Patterns in strftime's notation (%d %e %m %Y %y %H %I %M %S %p and the
    // composites %D %T %R %r %F). A two-digit year is widened to four digits.
    // A pattern with anything else falls back to "%d/%m/%Y" or "%H:%M:%S".
    DateTimeFormat(std::string_view shortDatePattern, std::string_view longTimePattern,
                   std::string amText = "AM", std::string pmText = "PM");

    // The LC_TIME formats of the environment (LC_ALL, LC_TIME, LANG), read
    // without touching the process's own locale.
    static DateTimeFormat fromEnvironment();

    std::string formatDate(const LocalDate& date) const;
    std::string formatTime(const TimeOfDay& time) const;
    // Date, a blank and time; at exactly midnight the date alone.
    std::string formatDateTime(const LocalDateTime& dateTime) const;

    // Leading zeros may be left out and blanks may surround the text.
    std::optional<LocalDate> parseDate(std::string_view text) const;
    std::optional<TimeOfDay> parseTime(std::string_view text) const;
    std::optional<LocalDateTime> parseDateTime(std::string_view text) const;

    // The first separator the long time uses (":" in most locales).
    char timeSeparator() const;

    enum class Field {
        Literal,
        Day,
        DayUnpadded,
        Month,
        Year,
        Hour24,
        Hour12,
        Minute,
        Second,
        AmPm
    };
    struct Token {
        Field field = Field::Literal;
        std::string literal;
    };

private:
    std::string format(const std::vector<Token>& tokens, const LocalDateTime& value) const;
    std::optional<LocalDateTime> parse(const std::vector<Token>& tokens,
                                       std::string_view text) const;

    std::vector<Token> m_date;
    std::vector<Token> m_time;
    std::string m_am;
    std::string m_pm;
};

}  // namespace brevanto
