// What one finished reading publishes: the fifteen readings and the six
// computed values as numbers, the mode, battery and load texts, the line's
// presence and the link's phase, and the inverter it came from.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "acquisition/displaytexts.h"
#include "link/linkstate.h"

namespace brevanto {

struct PublishedState {
    // The inverter's serial number as a topic level; empty while unknown.
    std::string inverterId;
    // Empty until a reading has shown a number there.
    std::array<std::optional<double>, kBasicVariableCount> readings{};
    std::array<std::optional<double>, kComputedValueCount> computed{};
    std::string mode;
    std::string battery;
    std::string load;
    bool linePresent = true;
    LinkPhase link = LinkPhase::Idle;

    bool operator==(const PublishedState&) const = default;
};

// The panels' texts as numbers ("---" is none), as the window shows them.
PublishedState publishedState(const DisplayTexts& texts, bool linePresent, LinkPhase link,
                              std::string inverterId);

// "test" in test mode; else the serial number with anything a topic level
// may not hold ('/', '+', '#', blanks, controls) made '_'.
std::string inverterTopicId(std::string_view serial, bool testMode);

// "idle", "connecting", "running" or "failed".
const char* linkPhaseName(LinkPhase phase);

}  // namespace brevanto
