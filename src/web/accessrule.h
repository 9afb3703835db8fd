// Who may change the program through a form. There is no login: a
// submission counts as authorised when the value of its first field of the
// form's password name equals the web password exactly as stored, still
// percent-encoded. So an empty password lets every form through, a password
// with characters a browser percent-encodes only matches when it is stored
// encoded, and one body carries one guess.
#pragma once

#include <optional>
#include <string_view>

namespace brevanto {

// The value of the first "name=value" field of a form body whose name is
// `field`, as sent; nothing when no field has that name.
std::optional<std::string_view> firstFieldValue(std::string_view body, std::string_view field);

// `field` is "T2" for the timer form and "T1" for the main page's commands.
bool SubmissionAuthorised(std::string_view body, std::string_view field, std::string_view password);

}  // namespace brevanto
