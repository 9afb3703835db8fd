#include "web/accessrule.h"

namespace brevanto {

std::optional<std::string_view> firstFieldValue(std::string_view body, std::string_view field) {
    while (!body.empty()) {
        const auto end = body.find('&');
        const std::string_view pair = body.substr(0, end);
        const auto equals = pair.find('=');
        if (pair.substr(0, equals) == field) {
            return equals == std::string_view::npos ? std::string_view() : pair.substr(equals + 1);
        }
        body.remove_prefix(end == std::string_view::npos ? body.size() : end + 1);
    }
    return std::nullopt;
}

bool SubmissionAuthorised(std::string_view body, std::string_view field,
                          std::string_view password) {
    if (password.empty()) {
        return true;
    }
    const auto value = firstFieldValue(body, field);
    return value && *value == password;
}

}  // namespace brevanto
