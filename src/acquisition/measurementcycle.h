// One measurement cycle, run on the reading thread: the two exchanges wait
// there, under the link's lock, and only their results are handed to the
// main thread, where the readings, the energy and the time stamp are renewed.
// So a cycle blocks the window for microseconds, not for the line's second.
#pragma once

#include <functional>

#include "acquisition/inverterreadings.h"
#include "acquisition/readingsettings.h"
#include "acquisition/readtimebase.h"
#include "link/inverterlink.h"
#include "link/linkstate.h"
#include "platform/services.h"

namespace brevanto {

class MeasurementCycle {
public:
    // The readings, the time base and the settings belong to the main thread.
    MeasurementCycle(const Services& services, InverterLink& link, const LinkState& linkState,
                     RandomInteger random = defaultRandomInteger());

    // The reading thread's ReadInverter. `finished` runs on the main thread
    // inside the cycle's last hand-over, once everything is renewed.
    void ReadInverter(const std::function<void()>& finished = {});

    const InverterReadings& readings() const { return m_readings; }
    InverterReadings& readings() { return m_readings; }
    ReadTimeBase& timeBase() { return m_timeBase; }
    void configure(ReadingSettings settings) { m_settings = std::move(settings); }

private:
    Exchange exchange(InverterCommand command, bool testMode);
    void finishCycle(bool testMode);

    const Services& m_services;
    InverterLink& m_link;
    const LinkState& m_linkState;
    RandomInteger m_random;
    InverterReadings m_readings;
    ReadTimeBase m_timeBase;
    ReadingSettings m_settings;
};

}  // namespace brevanto
