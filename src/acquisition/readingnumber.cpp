#include "acquisition/readingnumber.h"

#include "platform/numberformat.h"

namespace brevanto {

double numberOrZero(std::string_view text) {
    return parseNumber(text).value_or(0.0);
}

}  // namespace brevanto
