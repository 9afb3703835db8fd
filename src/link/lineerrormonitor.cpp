#include "link/lineerrormonitor.h"

#include <linux/serial.h>
#include <sys/ioctl.h>

#include <cerrno>

namespace brevanto {

IcountLineErrorMonitor::Query IcountLineErrorMonitor::readDriverCounts(int fd, Counts& counts) {
    serial_icounter_struct icount{};
    if (::ioctl(fd, TIOCGICOUNT, &icount) != 0) {
        // ENOTTY and EINVAL: the driver keeps no counters (a pseudo-terminal).
        return (errno == ENOTTY || errno == EINVAL) ? Query::Unsupported : Query::Failed;
    }
    counts = {icount.frame, icount.parity, icount.overrun, icount.brk, icount.buf_overrun};
    return Query::Ok;
}

IcountLineErrorMonitor::IcountLineErrorMonitor(CountReader readCounts)
    : m_readCounts(std::move(readCounts)) {}

void IcountLineErrorMonitor::reset(int fd) {
    m_support = Support::Unknown;
    if (const Query result = m_readCounts(fd, m_last); result == Query::Ok) {
        m_support = Support::Available;
    } else if (result == Query::Unsupported) {
        m_support = Support::Absent;
    }
}

LineErrorMonitor::State IcountLineErrorMonitor::check(int fd) {
    if (m_support == Support::Absent) {
        return State::Clean;
    }
    Counts now{};
    const Query result = m_readCounts(fd, now);
    if (result == Query::Unsupported) {
        m_support = Support::Absent;
        return State::Clean;
    }
    if (result == Query::Failed) {
        return State::QueryFailed;
    }
    m_support = Support::Available;
    const bool grew = now != m_last;
    m_last = now;
    return grew ? State::ErrorPending : State::Clean;
}

}  // namespace brevanto
