// The program's timers bound to real ones, each running its handler on the
// hub: what the main window does at its creation, and what the headless
// program does without a window.
#pragma once

#include <memory>
#include <vector>

#include "hub/hub.h"
#include "ui/timerbinding.h"

namespace brevanto {

// The bindings live as long as the returned list; the hub must outlive it.
std::vector<std::unique_ptr<TimerBinding>> bindHubTimers(Hub& hub);

}  // namespace brevanto
