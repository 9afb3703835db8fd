// Whether the grid is there, debounced over readings: a short outage is
// forgotten, a long one drives LineTrend down to the threshold at which the
// scheduler declares a line fault, and its return counts back up.
#pragma once

namespace brevanto {

struct LineState {
    bool LinePresent = true;
    bool LinePresentPrev = true;
    int LineTrend = 0;
    int LineDownCount = 0;
    bool LineDownFlag = false;  // set and cleared by the scheduler

    bool operator==(const LineState&) const = default;
};

// -5 readings for the short measuring intervals (1, 2 and 5 s), -1 for the rest.
int FaultThreshold(int measTime);

// Runs once after every main-values read that got its command out.
void LineUpdate(LineState& line, int faultThreshold);

// A new reading's AC voltage: above 100 V the line is there.
void takeLineReading(LineState& line, double acVoltage);

}  // namespace brevanto
