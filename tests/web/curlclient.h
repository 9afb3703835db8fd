// curl as the real HTTP client of the web tests.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace brevanto::testing {

struct HttpReply {
    int status = 0;                              // 0 when curl got no answer; `error` then says why
    std::map<std::string, std::string> headers;  // names in lower case
    std::string body;
    std::string error;

    bool hasHeader(const std::string& name) const { return headers.count(name) != 0; }
};

// Runs curl with `arguments` (URL, -X, --data-binary, --interface, ...)
// added to its quiet, header-including, proxy-free defaults.
HttpReply curl(const std::vector<std::string>& arguments);

// The reply in curl's `--include` form: interim 1xx answers are skipped.
HttpReply parseIncludedReply(const std::string& text);

}  // namespace brevanto::testing
