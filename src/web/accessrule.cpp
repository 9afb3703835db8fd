#include "web/accessrule.h"

#include <string>

namespace brevanto {

bool SubmissionAuthorised(std::string_view body, std::string_view field,
                          std::string_view password) {
    std::string key(field);
    key += '=';
    key += password;
    return body.find(key) != std::string_view::npos;
}

}  // namespace brevanto
