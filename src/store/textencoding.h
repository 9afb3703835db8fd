// Text from settings files that other programs wrote, turned into the UTF-8
// the program works in: UTF-16 as Windows editors save it, and lines in the
// Windows code page where they are not UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace brevanto {

bool isValidUtf8(std::string_view text);

// Windows-1252, of which Latin-1 is the printable part; the five bytes the
// code page leaves unassigned become the control characters Latin-1 gives them.
std::string utf8FromWindows1252(std::string_view text);

// Code units after the byte-order mark; an unpaired surrogate becomes U+FFFD
// and an odd last byte is dropped.
std::string utf8FromUtf16(std::string_view bytes, bool bigEndian);

}  // namespace brevanto
