// What the hub shows through the main window. The window fills these in;
// an empty one is a part of the window that is not there (a test's hub has
// none at all). Every hook runs on the main thread.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "acquisition/basicvariables.h"
#include "hub/displaytexts.h"

namespace brevanto {

struct HubView {
    std::function<void(const std::string&)> caption{};
    // Panel3: the date and time of the last tick.
    std::function<void(const std::string&)> clock{};
    std::function<void(const DisplayTexts&)> display{};
    std::function<void(const std::array<std::string, kBasicVariableCount>& labels)> basicLabels{};
    std::function<void(const std::array<std::string, 6>& labels,
                       const std::array<std::string, 6>& units)>
        computedLabels{};
    // The ReqByWeb box's new state, set without running its click handler
    // (the hub runs it).
    std::function<void(bool checked)> reqByWebBox{};
    // The settings dialog refilled from the live settings.
    std::function<void()> fillSettingsDialog{};
};

}  // namespace brevanto
