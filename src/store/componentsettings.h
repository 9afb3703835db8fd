// The settings record as the components below the store read it: each gets
// a small value of its own, so none of them reaches into the record.
#pragma once

#include "acquisition/readingsettings.h"
#include "link/connectionsettings.h"
#include "store/tdati.h"

namespace brevanto {

ReadingSettings readingSettings(const TDati& settings);
ConnectionSettings connectionSettings(const TDati& settings);

}  // namespace brevanto
