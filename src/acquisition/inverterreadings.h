// What the program knows of the inverter, and the two steps that renew it
// from a cycle's exchanges. Both steps run on the main thread, inside the
// reading thread's hand-over, so nothing ever sees half a reading.
#pragma once

#include <functional>
#include <string>

#include "acquisition/basicvariables.h"
#include "acquisition/computedvalues.h"
#include "acquisition/linetrend.h"
#include "acquisition/operatingstate.h"
#include "acquisition/readtimebase.h"
#include "link/inverterprotocol.h"
#include "link/replyfields.h"

namespace brevanto {

struct InverterReadings {
    ReplyFields replyFields;
    BasicVariables basic;
    std::string SccBatteryVoltage;
    ChargeFlags chargeFlags;
    OperatingState state;
    LineState line;
    bool MainValuesValid = false;
    bool StatusValid = false;
    int ElapsedSeconds = 0;
    // Date and time of the last cycle whose two reads succeeded, and the
    // web refresh note.
    std::string MeasTimeText;
    ComputedValues computed;
};

// One exchange as the reading thread made it.
struct Exchange {
    bool connected = false;  // the link was up when the cycle asked
    InverterReply reply;     // reply.sent is false when the write failed
};

// Draws test mode's readings: a uniform integer from low to high.
using RandomInteger = std::function<int(int low, int high)>;
RandomInteger defaultRandomInteger();

struct ReadContext {
    bool testMode = false;
    int measTime = 0;  // [Main] MeasTime, which sets the fault threshold
    ReadTimeBase* timeBase = nullptr;
    RandomInteger random;
};

void ReadMainValues(InverterReadings& readings, const Exchange& exchange,
                    const ReadContext& context);
void ReadStatus(InverterReadings& readings, const Exchange& exchange, bool testMode);

}  // namespace brevanto
