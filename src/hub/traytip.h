// The tip of the tray icon, from the link's state alone.
#pragma once

#include <string>

#include "link/linkstate.h"

namespace brevanto {

std::string TrayTip(const LinkState::Snapshot& link);

}  // namespace brevanto
