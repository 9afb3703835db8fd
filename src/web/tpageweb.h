// One line of a web page template: the 8-bit text the page serves on that
// line, empty until the template is built or the line is written.
#pragma once

#include <string>

namespace brevanto {

struct TPageWeb {
    std::string text;
};

}  // namespace brevanto
