#include "platform/localdatetime.h"

#include <chrono>

namespace brevanto {

int daysFromCivil(const LocalDate& date) {
    const std::chrono::year_month_day ymd{std::chrono::year{date.year},
                                          std::chrono::month{static_cast<unsigned>(date.month)},
                                          std::chrono::day{static_cast<unsigned>(date.day)}};
    return std::chrono::sys_days{ymd}.time_since_epoch().count();
}

LocalDate civilFromDays(int days) {
    const std::chrono::year_month_day ymd{std::chrono::sys_days{std::chrono::days{days}}};
    return {static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
            static_cast<int>(static_cast<unsigned>(ymd.day()))};
}

bool isValidDate(const LocalDate& date) {
    if (date.month < 1 || date.month > 12 || date.day < 1 || date.day > 31) {
        return false;
    }
    const std::chrono::year_month_day ymd{std::chrono::year{date.year},
                                          std::chrono::month{static_cast<unsigned>(date.month)},
                                          std::chrono::day{static_cast<unsigned>(date.day)}};
    return ymd.ok();
}

bool isValidTime(const TimeOfDay& time) {
    return time.hour >= 0 && time.hour < 24 && time.minute >= 0 && time.minute < 60 &&
           time.second >= 0 && time.second < 60 && time.millisecond >= 0 && time.millisecond < 1000;
}

}  // namespace brevanto
