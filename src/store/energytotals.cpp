#include "store/energytotals.h"

namespace brevanto {

EnergyTotals::EnergyTotals(const Services& services, BackgroundFileWriter& writer)
    : m_services(services), m_writer(writer) {}

}  // namespace brevanto
