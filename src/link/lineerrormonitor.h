// Tells whether a line error (framing, parity, overrun, break) arrived since
// the last look. Serial drivers count them (TIOCGICOUNT); pseudo-terminals and
// some USB adapters have no counters, and then the line is taken as clean.
#pragma once

#include <array>
#include <functional>

namespace brevanto {

class LineErrorMonitor {
public:
    enum class State { Clean, ErrorPending, QueryFailed };

    virtual ~LineErrorMonitor() = default;
    // Takes the port's present counts as the baseline; called after open.
    virtual void reset(int fd) = 0;
    // Reports and clears what arrived since the previous call.
    virtual State check(int fd) = 0;
};

class IcountLineErrorMonitor final : public LineErrorMonitor {
public:
    using Counts = std::array<int, 5>;  // frame, parity, overrun, break, buffer overrun
    enum class Query { Ok, Unsupported, Failed };
    // How the port's counts are asked; the driver's TIOCGICOUNT unless a
    // test hands in counts of its own.
    using CountReader = std::function<Query(int fd, Counts& counts)>;

    static Query readDriverCounts(int fd, Counts& counts);

    explicit IcountLineErrorMonitor(CountReader readCounts = readDriverCounts);
    void reset(int fd) override;
    State check(int fd) override;

private:
    enum class Support { Unknown, Available, Absent };

    CountReader m_readCounts;
    Support m_support = Support::Unknown;
    Counts m_last{};
};

}  // namespace brevanto
