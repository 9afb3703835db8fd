// Calendar date and time of day as the local clock shows them, with the
// day arithmetic the day change and the file names need.
#pragma once

#include <compare>

namespace brevanto {

struct LocalDate {
    int year = 1970;
    int month = 1;
    int day = 1;

    auto operator<=>(const LocalDate&) const = default;
};

struct TimeOfDay {
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;

    auto operator<=>(const TimeOfDay&) const = default;

    int secondsSinceMidnight() const { return hour * 3600 + minute * 60 + second; }
    bool isMidnight() const { return hour == 0 && minute == 0 && second == 0 && millisecond == 0; }
};

struct LocalDateTime {
    LocalDate date;
    TimeOfDay time;

    auto operator<=>(const LocalDateTime&) const = default;
};

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
int daysFromCivil(const LocalDate& date);
LocalDate civilFromDays(int days);
bool isValidDate(const LocalDate& date);
bool isValidTime(const TimeOfDay& time);

}  // namespace brevanto
