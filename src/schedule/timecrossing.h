// When a switching time counts as reached: at the first tick at or after
// it. A tick reaches a time when the previous tick was before it and this
// one is not, comparing times of day to the millisecond. The tick whose
// interval spans midnight reaches nothing, so with one-second ticks
// 00:00:00 is never reached.
#pragma once

#include "platform/localdatetime.h"

namespace brevanto {

bool timeReached(const TimeOfDay& previousTick, const TimeOfDay& tick, const TimeOfDay& time);

}  // namespace brevanto
