// One reply captured on a real unit, picked by how the fixture describes it,
// to hold the simulator's bytes against.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "support/fixtures.h"

namespace brevanto::testing {

inline CapturedReply capturedReply(std::string_view descriptionStart) {
    for (CapturedReply& reply : capturedReplies()) {
        if (reply.description.starts_with(descriptionStart)) {
            return reply;
        }
    }
    throw std::runtime_error("no captured reply described as '" + std::string(descriptionStart) +
                             "'");
}

}  // namespace brevanto::testing
