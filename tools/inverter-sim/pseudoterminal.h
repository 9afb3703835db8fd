// The simulated serial port: a pseudo-terminal set up like the inverter's RS-232
// line. The simulator talks on the master side; clients open the slave.
#pragma once

#include <string>

#include "inverter-sim/uniquefd.h"

namespace brevanto::sim {

class PseudoTerminal {
public:
    // Throws std::system_error when the system has no pseudo-terminal to give.
    PseudoTerminal();

    // Non-blocking, so a reply never stalls the console.
    int master() const { return m_master.get(); }
    const std::string& slavePath() const { return m_slavePath; }

private:
    UniqueFd m_master;
    // Held open, never read: without it the master sees a hang-up each time
    // the last client closes the port, and the line's settings are lost.
    UniqueFd m_heldSlave;
    std::string m_slavePath;
};

}  // namespace brevanto::sim
