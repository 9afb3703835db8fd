// A reading's text as a number. Before the first reading, or when a reply
// held two blanks in a row or a lone point, the text is no number; the rules
// that need one then take 0 and the reading goes on.
#pragma once

#include <string_view>

namespace brevanto {

double numberOrZero(std::string_view text);

}  // namespace brevanto
