// The port and the exchanges on it, behind one lock: a reading cycle, a
// "Check" and a connect's search each hold the line for a whole exchange,
// so their bytes never interleave. No message box is ever shown under it: a
// box waits for the main thread, which may itself be waiting for the lock.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "link/inverterprotocol.h"
#include "link/tcomm.h"
#include "platform/prompts.h"

namespace brevanto {

// The device went away under an open port.
struct LinkLoss {
    std::string devicePath;  // as it was opened
    std::string reason;      // the system's words
};

// Exchanges that failed, by their cause; any thread reads them.
struct ExchangeFailures {
    std::atomic<std::uint64_t> notSent{0};
    std::atomic<std::uint64_t> noReply{0};
    std::atomic<std::uint64_t> badReply{0};
};

class InverterLink {
public:
    InverterLink(
        Prompts& prompts, EventSink& events, std::function<bool()> connected,
        std::function<bool()> showAllErrors,
        std::unique_ptr<LineErrorMonitor> lineErrors = std::make_unique<IcountLineErrorMonitor>());

    bool portExists(const std::string& devicePath) const;
    // Opens at 2400 baud 8N1; the result is LastError(): 0 when open.
    int open(const std::string& devicePath);
    void close();
    bool isOpen() const;
    void purge();
    // One exchange; `purgeFirst` discards what the line holds before it. An
    // exchange that meets a hang-up closes the port and tells the loss
    // listener, on the exchange's thread, once the lock is let go.
    InverterReply query(InverterCommand command, bool purgeFirst = false);
    void setLossListener(std::function<void(const LinkLoss&)> listener);
    const ExchangeFailures& failures() const { return m_failures; }

private:
    std::optional<LinkLoss> closeIfLost();
    void countFailure(const InverterReply& reply);

    Prompts& m_prompts;
    mutable std::mutex m_port;
    TComm m_comm;
    InverterProtocol m_protocol;
    std::function<void(const LinkLoss&)> m_lossListener;
    ExchangeFailures m_failures;
};

}  // namespace brevanto
