// The Timer page's lines: a fixed form for the four output timers.
#pragma once

#include <span>

#include "web/templateentry.h"

namespace brevanto {

std::span<const TemplateEntry> timerPageListing();

}  // namespace brevanto
