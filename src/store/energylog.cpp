#include "store/energylog.h"

namespace brevanto {

EnergyLog::EnergyLog(const Services& services, BackgroundFileWriter& writer)
    : m_services(services), m_writer(writer), m_table(kColumns, "ListEnergy") {}

}  // namespace brevanto
