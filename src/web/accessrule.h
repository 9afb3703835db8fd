// Who may change the program through a form. There is no login: a
// submission counts as authorised when its raw body holds the form's field
// name, "=" and the web password exactly as stored. So an empty password lets
// every form through, and a password with characters a browser percent-encodes
// only matches when it is stored encoded.
#pragma once

#include <string_view>

namespace brevanto {

// `field` is "T2" for the timer form and "T1" for the main page's commands.
bool SubmissionAuthorised(std::string_view body, std::string_view field, std::string_view password);

}  // namespace brevanto
