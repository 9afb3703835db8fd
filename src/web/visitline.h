// The event-list line that counts a client's main-page requests:
// <date time>[ipstart]<address>[ipend] requested webpage [CS]<count>[CE]
// One such line per address; each request moves it to the end of the list
// with the count one higher.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace brevanto {

std::string visitLine(std::string_view dateTime, std::string_view address, long long count);

// The text between the line's first "[ipstart]" and first "[ipend]", when
// both are there in that order; nothing for any other line.
std::optional<std::string_view> visitAddress(std::string_view line);

// The number between the line's first "[CS]" and first "[CE]". A count that
// does not read (a line garbled in the day's event file) reads as 0, so the
// client's count starts again instead of its page failing all day.
long long visitCount(std::string_view line);

}  // namespace brevanto
