// One measurement cycle, run on the reading thread: the two exchanges wait
// there, under the link's lock, and only their results are handed to the
// main thread, where the readings, the energy and the time stamp are renewed.
// So a cycle blocks the window for microseconds, not for the line's second.
#pragma once

#include <functional>
#include <string>

#include "acquisition/inverterreadings.h"
#include "link/inverterlink.h"
#include "link/linkstate.h"
#include "platform/clock.h"
#include "platform/datetimeformat.h"
#include "platform/mainthreadinvoker.h"

namespace brevanto {

class MeasurementCycle {
public:
    // Read on the main thread, inside the hand-over.
    struct MainThreadSettings {
        std::function<int()> measTime;             // [Main] MeasTime
        std::function<std::string()> refreshNote;  // e.g. " (Refresh = 1 sec.)"
    };

    // `readings` and `timeBase` belong to the main thread.
    MeasurementCycle(InverterLink& link, const LinkState& linkState, MainThreadInvoker& invoker,
                     InverterReadings& readings, ReadTimeBase& timeBase, const Clock& clock,
                     const DateTimeFormat& format, MainThreadSettings settings,
                     RandomInteger random = defaultRandomInteger());

    // The reading thread's ReadInverter.
    void ReadInverter();

private:
    Exchange exchange(InverterCommand command, bool testMode);
    void finishCycle(bool testMode);

    InverterLink& m_link;
    const LinkState& m_linkState;
    MainThreadInvoker& m_invoker;
    InverterReadings& m_readings;
    ReadTimeBase& m_timeBase;
    const Clock& m_clock;
    const DateTimeFormat& m_format;
    MainThreadSettings m_settings;
    RandomInteger m_random;
};

}  // namespace brevanto
