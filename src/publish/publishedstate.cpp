#include "publish/publishedstate.h"

#include <algorithm>
#include <cctype>

namespace brevanto {

PublishedState publishedState(const DisplayTexts& texts, bool linePresent, LinkPhase link,
                              std::string inverterId) {
    PublishedState state;
    state.inverterId = std::move(inverterId);
    const PanelNumbers numbers = panelNumbers(texts);
    state.readings = numbers.basic;
    state.computed = numbers.computed;
    state.mode = texts.mode;
    state.battery = texts.battery;
    state.load = texts.load;
    state.linePresent = linePresent;
    state.link = link;
    return state;
}

std::string inverterTopicId(std::string_view serial, bool testMode) {
    if (testMode) {
        return "test";
    }
    std::string id(serial);
    std::replace_if(
        id.begin(), id.end(),
        [](char c) {
            const auto byte = static_cast<unsigned char>(c);
            return !(std::isalnum(byte) || c == '-' || c == '_');
        },
        '_');
    return id;
}

const char* linkPhaseName(LinkPhase phase) {
    switch (phase) {
        case LinkPhase::Idle:
            return "idle";
        case LinkPhase::Connecting:
            return "connecting";
        case LinkPhase::Running:
            return "running";
        case LinkPhase::Failed:
            return "failed";
    }
    return "idle";
}

}  // namespace brevanto
