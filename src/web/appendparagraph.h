// A line of text added below a page the web commands answer with.
#pragma once

#include <string>
#include <string_view>

namespace brevanto {

// Appends "<p align="left"> " + text + " </p>", without a line feed.
void AppendParagraph(std::string& body, std::string_view text);

}  // namespace brevanto
