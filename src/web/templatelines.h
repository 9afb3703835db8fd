// Where the value-carrying lines of the two pages sit, as remembered while the
// pages were built. The writers address a line only through these indexes.
#pragma once

#include <array>
#include <cstddef>

#include "acquisition/basicvariables.h"
#include "acquisition/computedvalues.h"

namespace brevanto {

struct TemplateEntry;

struct TemplateLines {
    // Main page.
    std::size_t refresh = 0;
    std::size_t title = 0;
    std::size_t heading = 0;
    std::size_t timeStamp = 0;
    std::size_t flowColour = 0;
    std::size_t flowHeading = 0;
    std::size_t modeStatus = 0;
    std::size_t batteryStatus = 0;
    std::size_t loadStatus = 0;
    // Indexed by k - 1 for basic variable k and computed value k.
    std::array<std::size_t, kBasicVariableCount> nameVar{};
    std::array<std::size_t, kBasicVariableCount> bVar{};
    std::size_t computedHeader = 0;
    std::array<std::size_t, kComputedValueCount> name{};
    std::array<std::size_t, kComputedValueCount> var{};
    std::size_t mainFooter = 0;

    // Timer page: its only line that ever changes.
    std::size_t timerFooter = 0;
};

// Records `index` as the line of the value `entry` is tagged with. Throws
// std::out_of_range for a variable number outside its range, so a slip in a
// listing fails the build of the pages instead of writing the wrong line.
void rememberLine(TemplateLines& lines, const TemplateEntry& entry, std::size_t index);

}  // namespace brevanto
