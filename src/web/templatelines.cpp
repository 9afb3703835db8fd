#include "web/templatelines.h"

#include <stdexcept>

#include "web/templateentry.h"

namespace brevanto {
namespace {

template <std::size_t N>
std::size_t& numbered(std::array<std::size_t, N>& slots, int number) {
    if (number < 1 || static_cast<std::size_t>(number) > N) {
        throw std::out_of_range("template line number out of range");
    }
    return slots[static_cast<std::size_t>(number - 1)];
}

std::size_t* field(TemplateLines& lines, const TemplateEntry& entry) {
    switch (entry.slot) {
        case LineSlot::Fixed:
            return nullptr;
        case LineSlot::Refresh:
            return &lines.refresh;
        case LineSlot::Title:
            return &lines.title;
        case LineSlot::Heading:
            return &lines.heading;
        case LineSlot::TimeStamp:
            return &lines.timeStamp;
        case LineSlot::FlowColour:
            return &lines.flowColour;
        case LineSlot::FlowHeading:
            return &lines.flowHeading;
        case LineSlot::ModeStatus:
            return &lines.modeStatus;
        case LineSlot::BatteryStatus:
            return &lines.batteryStatus;
        case LineSlot::LoadStatus:
            return &lines.loadStatus;
        case LineSlot::NameVar:
            return &numbered(lines.nameVar, entry.number);
        case LineSlot::BVar:
            return &numbered(lines.bVar, entry.number);
        case LineSlot::ComputedHeader:
            return &lines.computedHeader;
        case LineSlot::Name:
            return &numbered(lines.name, entry.number);
        case LineSlot::Var:
            return &numbered(lines.var, entry.number);
        case LineSlot::MainFooter:
            return &lines.mainFooter;
        case LineSlot::TimerFooter:
            return &lines.timerFooter;
    }
    return nullptr;
}

}  // namespace

void rememberLine(TemplateLines& lines, const TemplateEntry& entry, std::size_t index) {
    if (std::size_t* slot = field(lines, entry)) {
        *slot = index;
    }
}

}  // namespace brevanto
