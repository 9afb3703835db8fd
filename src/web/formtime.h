// The times of the Timer page's form, read from the raw body the way the
// form has always been read: eight characters behind the field's name and
// its "=". A time must therefore be typed with seven or eight characters
// ("7.05.00" or "07.05.00"); the eighth character is then the "&" of the next
// field, which counts as a blank.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/datetimeformat.h"
#include "platform/localdatetime.h"

namespace brevanto {

// The text of the field `name`, or nothing when the body lacks the name or
// ends right behind it and its "=". Only the first occurrence of the name
// counts, and the character behind the name is skipped unread.
std::optional<std::string> takeFormTime(std::string_view body, std::string_view name);

// A time of day as hours, minutes and seconds. The separator may be the
// locale's own, ":" or "."; a browser percent-encodes ":" in form data, so
// "hh.mm.ss" is what a browser can send whatever the locale. The text is not
// percent-decoded.
std::optional<TimeOfDay> parseFormTime(std::string_view text, const DateTimeFormat& format);

}  // namespace brevanto
