// The simulator's own account of the energy it delivered, day by day: the
// truth, integrated second by second from the noise-free curves, and what
// the measuring rule makes of the readings actually served (each reading's
// power times the time since the one before), whose difference from the
// truth is the rule's own sampling error.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "inverter-sim/plantmodel.h"
#include "inverter-sim/qpigspayload.h"

namespace brevanto::sim {

// The longest gap one reading may cover, as a monitor's rule has it: a
// reading after a long silence does not speak for the whole of it.
constexpr double kLongestStepSeconds = 300.0;

class EnergyLedger {
public:
    // Truth from the last call up to `epochSeconds`, under the state that
    // held meanwhile. Nothing counts before the first connect proof: energy
    // nobody was there to measure belongs to no run.
    void advance(double epochSeconds, const PlantModel& plant, bool onLine);
    // A client proved the inverter is there: its count starts afresh.
    void connected(double epochSeconds);
    // A reading went out whole, with a right check.
    void sampled(double epochSeconds, const QpigsReading& reading, bool onLine);

    // "energy DATE solar=KWH line=KWH sampled_solar=KWH sampled_line=KWH
    // readings=N", days joined by "; ", in date order; "energy none" before
    // any connect.
    std::string report() const;

private:
    struct Day {
        double solarWh = 0;
        double lineWh = 0;
        double sampledSolarWh = 0;
        double sampledLineWh = 0;
        int readings = 0;
    };

    std::map<std::string, Day> m_days;  // by local date, YYYY-MM-DD
    std::optional<double> m_truthUpTo;
    std::optional<double> m_lastReading;
};

}  // namespace brevanto::sim
