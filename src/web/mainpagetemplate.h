// The main page's lines as it starts: placeholders where live values go.
#pragma once

#include <span>

#include "web/templateentry.h"

namespace brevanto {

std::span<const TemplateEntry> mainPageListing();

}  // namespace brevanto
