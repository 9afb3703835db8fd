#include "platform/texttrim.h"

namespace brevanto {

namespace {

// Spelled out rather than std::isspace, which follows the process's locale.
constexpr std::string_view kSpace = " \t\r\n\v\f";

}  // namespace

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(kSpace);
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(kSpace);
    return text.substr(first, last - first + 1);
}

}  // namespace brevanto
