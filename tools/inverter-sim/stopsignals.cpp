#include "inverter-sim/stopsignals.h"

#include <signal.h>
#include <sys/signalfd.h>

#include <cerrno>
#include <system_error>

namespace brevanto::sim {
namespace {

sigset_t stopSet() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGHUP);
    return set;
}

}  // namespace

StopSignals::StopSignals() {
    const sigset_t set = stopSet();
    if (::sigprocmask(SIG_BLOCK, &set, nullptr) != 0) {
        throw std::system_error(errno, std::generic_category(), "cannot block stop signals");
    }
    m_fd.reset(::signalfd(-1, &set, SFD_CLOEXEC | SFD_NONBLOCK));
    if (!m_fd.valid()) {
        throw std::system_error(errno, std::generic_category(), "cannot watch stop signals");
    }
    ::signal(SIGPIPE, SIG_IGN);
}

}  // namespace brevanto::sim
