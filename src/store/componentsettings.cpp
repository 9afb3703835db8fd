#include "store/componentsettings.h"

#include "store/settingsintervals.h"

namespace brevanto {

ReadingSettings readingSettings(const TDati& settings) {
    return {settings.measTime, refreshChoice(settings.refreshWeb).refreshNote};
}

ConnectionSettings connectionSettings(const TDati& settings) {
    return {settings.comPort, settings.comPortIndex, settings.autoSearch, settings.autoReConnect};
}

}  // namespace brevanto
