// The log tables' 8-bit text as the windows show it. The program writes
// UTF-8, but a day's file read back may come from an older program or a
// hand edit in the Windows code page, and "°C" must not come out as "Â°C"
// or as a box.
#pragma once

#include <string_view>

#include <QString>

namespace brevanto {

QString logText(std::string_view text);

}  // namespace brevanto
