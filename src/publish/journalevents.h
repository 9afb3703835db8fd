// Which journal lines go out as MQTT events: the mode switches, the line's
// faults and restores, and the connection's lines. The port search's lines
// ("Trying port COM3...") and everything else stay in the journal.
#pragma once

#include <optional>
#include <string_view>

namespace brevanto {

// "switch", "line_fault", "line_restored" or "connection"; empty for a line
// that is not published.
std::optional<std::string_view> publishedEventKind(std::string_view message);

}  // namespace brevanto
