// What the scheduler asks of the parts above it (the display, the page,
// the connection, the ReqByWeb box). The hub fills these in; tests record.
#pragma once

#include <functional>
#include <span>
#include <string>

#include "acquisition/displaytexts.h"

namespace brevanto {

struct SchedulerHooks {
    std::function<void()> showClock;
    std::function<void()> updateDisplay;
    // The reconnect watchdog's look at the reading thread, and the loop
    // count it compares against at the next tick.
    std::function<void()> reconnectWatchdog;
    std::function<void()> rememberLoopCount;
    // The panels as the window shows them now: the rows take their texts.
    std::function<const DisplayTexts&()> shownTexts;
    // The computed panels at these indexes show their values again (after
    // the totals are read or the day's energy restored).
    std::function<void(std::span<const int> panels)> showComputed;
    // Since when the totals count, for the page's heading and GroupBox2.
    std::function<void(const std::string& totalsSince)> showTotalsSince;
    // The page's energy-flow heading while the line is down and back.
    std::function<void(bool lineDown)> showLineFault;
    // The main window's ReqByWeb box, set as the program sets it.
    std::function<void(bool checked)> setReqByWebBox;
};

}  // namespace brevanto
