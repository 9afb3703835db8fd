// What the request handler answers. The server adds the length; an empty
// body goes out with length 0 and without a content type.
#pragma once

#include <string>

namespace brevanto {

struct WebResponse {
    static constexpr const char* kHtml = "text/html; charset=utf-8";
    static constexpr const char* kPlainText = "text/plain; charset=utf-8";

    int status = 200;
    std::string body;
    std::string contentType = kHtml;
};

}  // namespace brevanto
