// One line of a page listing as the builders append it: its initial text and,
// for a line that carries a value, which value it carries. The tag lets the
// builder remember the line's index as it appends it, so no writer ever has to
// search a page for a placeholder text.
#pragma once

#include <cstdint>
#include <string_view>

namespace brevanto {

enum class LineSlot : std::uint8_t {
    Fixed,
    Refresh,
    Title,
    Heading,
    TimeStamp,
    FlowColour,
    FlowHeading,
    ModeStatus,
    BatteryStatus,
    LoadStatus,
    NameVar,
    BVar,
    ComputedHeader,
    Name,
    Var,
    MainFooter,
    TimerFooter,
};

struct TemplateEntry {
    std::string_view text;
    LineSlot slot = LineSlot::Fixed;
    // 1-based number of the basic variable or computed value, for the slots
    // that come once per variable; 0 otherwise.
    int number = 0;
};

}  // namespace brevanto
