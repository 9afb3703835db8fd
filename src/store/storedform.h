// How settings values look in the settings file: integers as decimal text,
// flags as "1" or "0", texts as they are, times of day in the locale's long
// time. Reading is as forgiving as the Windows program that wrote the
// files was; whatever still does not read takes the key's default.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/datetimeformat.h"
#include "platform/localdatetime.h"

namespace brevanto {

// A 32-bit integer: optional sign, decimal digits or hexadecimal after "$"
// or "0x" (up to eight digits, which may set the sign bit: "$FFFFFFFF" is -1).
std::optional<std::int32_t> parseStoredInteger(std::string_view text);
std::string storedInteger(std::int32_t value);

// A flag is an integer that is not 0.
std::optional<bool> parseStoredFlag(std::string_view text);
std::string storedFlag(bool value);

// Texts lose one pair of enclosing quotes (double or single) as Windows
// reads them. A text that would not survive that or the trimming of blanks
// around the value is written in double quotes; every other text as it is.
std::string textFromStored(std::string_view stored);
std::string storedText(std::string_view text);

// The locale's long time first; then the 24-hour and the 12-hour clock, so
// that a file written under another locale still reads; then both without
// seconds ("6:30", "6:30 PM"), as a hand edit often leaves a time.
std::optional<TimeOfDay> parseStoredTime(std::string_view text, const DateTimeFormat& format);
std::string storedTime(const TimeOfDay& time, const DateTimeFormat& format);

}  // namespace brevanto
