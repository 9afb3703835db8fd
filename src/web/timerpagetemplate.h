// The Timer page's lines: a fixed form for the four output timers.
#pragma once

#include "web/templateentry.h"

#include <span>

namespace brevanto {

std::span<const TemplateEntry> timerPageListing();

}  // namespace brevanto
