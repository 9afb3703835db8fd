// The key filter and the integer check behind the settings dialog's number
// boxes. Both are free of widgets: a box hands them its key or its text.
#pragma once

#include <string_view>

#include "platform/prompts.h"

namespace brevanto {

// Digits, Backspace (8), Enter (13) and "-" pass; any other character
// becomes the null character, which discards the key press.
char16_t FilterIntegerKey(char16_t key);

// An empty text, or one of "-" alone, is the minimum, without a word. A
// text that is no signed decimal number is the default ("Wrong integer"),
// and a value outside the range is the default too, with a box naming the
// bound it broke. With a default outside the range, a text that is no
// number therefore shows both boxes in turn. The boxes carry the caption
// "Kestrova".
int ValidateInteger(std::string_view text, int defaultValue, int minimum, int maximum,
                    bool showMessages, Prompts& prompts);

}  // namespace brevanto
