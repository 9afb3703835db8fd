// The main window's timers that a connect, a disconnect and the watchdog
// switch. They are core state; the window binds each one to a real timer.
#pragma once

#include "platform/coretimer.h"

namespace brevanto {

struct ConnectionTimers {
    CoreTimer& timer;         // the one-second scheduler tick
    CoreTimer& timer1;        // the measuring interval
    CoreTimer& timer3;        // the log interval
    CoreTimer& timerConnect;  // the reconnect after the watchdog's disconnect
    CoreTimer& timerOff;      // the output hold
};

}  // namespace brevanto
