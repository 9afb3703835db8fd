// The settings a measurement cycle reads, copied in when the settings are
// applied, so the cycle never reaches into the settings record.
#pragma once

#include <string>

namespace brevanto {

struct ReadingSettings {
    int measTime = 0;         // [Main] MeasTime, which sets the fault threshold
    std::string refreshNote;  // the web refresh note, e.g. " (Refresh = 1 sec.)"
};

}  // namespace brevanto
