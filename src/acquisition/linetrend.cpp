#include "acquisition/linetrend.h"

namespace brevanto {

int FaultThreshold(int measTime) {
    return (measTime >= 0 && measTime <= 2) ? -5 : -1;
}

void takeLineReading(LineState& line, double acVoltage) {
    line.LinePresentPrev = line.LinePresent;
    line.LinePresent = acVoltage > 100;
}

void LineUpdate(LineState& line, int faultThreshold) {
    if (line.LinePresentPrev && !line.LinePresent) {
        line.LineTrend = -1;
    } else if (!line.LinePresentPrev && line.LinePresent) {
        line.LineTrend = 1;
    } else if (!line.LinePresentPrev && !line.LinePresent) {
        line.LineTrend -= 1;
        line.LineDownCount = line.LineTrend;
    } else if (line.LineTrend != 0) {
        // The outage ended before it reached the threshold: forget it.
        if (line.LineDownCount > faultThreshold) {
            line.LineTrend = -1;
            line.LineDownCount = 0;
        }
        line.LineTrend += 1;
    }
}

}  // namespace brevanto
