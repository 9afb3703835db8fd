// The day's curves as a web page: one SVG drawn on the server, with no
// script and no outside file, that fits a phone's width as well as a desk's.
#pragma once

#include <string>
#include <string_view>

#include "charts/dayseries.h"

namespace brevanto {

// The SVG alone, for a desk's width: a viewBox, so it scales to any width.
std::string renderDayChartSvg(const DaySeries& series);
// A whole page, headed by `heading` (escaped here), with a drawing for a
// desk and one for a phone; the page's style shows the one that fits.
std::string renderDayChartPage(const DaySeries& series, std::string_view heading);

}  // namespace brevanto
