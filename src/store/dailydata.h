// The day's files and tables together: the basic and computed logs, the
// month's energy log, the running totals, and the thread that writes their
// checkpoints. The scheduler rolls them over; the viewers show the tables.
#pragma once

#include "platform/backgroundfilewriter.h"
#include "platform/services.h"
#include "store/daylog.h"
#include "store/energylog.h"
#include "store/energytotals.h"

namespace brevanto {

class DailyData {
public:
    explicit DailyData(const Services& services)
        : m_writer(services.mainThread),
          m_basic(basicLogKind(), services),
          m_computed(computedLogKind(), services),
          m_energy(services, m_writer),
          m_totals(services, m_writer) {}
    DailyData(const DailyData&) = delete;
    DailyData& operator=(const DailyData&) = delete;

    BackgroundFileWriter& writer() { return m_writer; }
    DayLog& basic() { return m_basic; }
    DayLog& computed() { return m_computed; }
    const DayLog& computed() const { return m_computed; }
    EnergyLog& energy() { return m_energy; }
    EnergyTotals& totals() { return m_totals; }

private:
    // First, so it is the last to go: the others hand it their files.
    BackgroundFileWriter m_writer;
    DayLog m_basic;
    DayLog m_computed;
    EnergyLog m_energy;
    EnergyTotals m_totals;
};

}  // namespace brevanto
