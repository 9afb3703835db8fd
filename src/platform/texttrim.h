// The one way the program trims a text it reads: blanks, tabs and line ends
// around it go, whatever is inside stays.
#pragma once

#include <string_view>

namespace brevanto {

std::string_view trimmed(std::string_view text);

}  // namespace brevanto
