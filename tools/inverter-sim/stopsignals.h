// Turns SIGTERM, SIGINT and SIGHUP into a readable descriptor, so stopping is one
// more event in the loop and the link is removed on the way out.
#pragma once

#include "inverter-sim/uniquefd.h"

namespace brevanto::sim {

class StopSignals {
public:
    // Throws std::system_error if the signals cannot be redirected. They stay
    // blocked for the rest of the process's life: unblocking one that is
    // pending would kill the process before it has cleaned up. Broken pipes
    // become write errors instead of a silent death.
    StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // Readable once a stop signal has come.
    int fd() const { return m_fd.get(); }

private:
    UniqueFd m_fd;
};

}  // namespace brevanto::sim
