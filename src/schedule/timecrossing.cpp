#include "schedule/timecrossing.h"

namespace brevanto {
namespace {

int millisecondsOfDay(const TimeOfDay& time) {
    return time.secondsSinceMidnight() * 1000 + time.millisecond;
}

}  // namespace

bool timeReached(const TimeOfDay& previousTick, const TimeOfDay& tick, const TimeOfDay& time) {
    const int at = millisecondsOfDay(time);
    return millisecondsOfDay(previousTick) < at && millisecondsOfDay(tick) >= at;
}

}  // namespace brevanto
