// The main page's lines as it starts: placeholders where live values go.
#pragma once

#include "web/templateentry.h"

#include <span>

namespace brevanto {

std::span<const TemplateEntry> mainPageListing();

}  // namespace brevanto
