#include "link/inverterlink.h"

namespace brevanto {

InverterLink::InverterLink(Prompts& prompts, EventSink& events, std::function<bool()> connected,
                           std::function<bool()> showAllErrors,
                           std::unique_ptr<LineErrorMonitor> lineErrors)
    : m_prompts(prompts),
      m_comm(std::move(lineErrors)),
      m_protocol(m_comm, events, std::move(connected), std::move(showAllErrors)) {}

bool InverterLink::portExists(const std::string& devicePath) const {
    std::lock_guard lock(m_port);
    return m_comm.PortExists(devicePath);
}

int InverterLink::open(const std::string& devicePath) {
    int error = 0;
    std::vector<std::string> failures;
    {
        std::lock_guard lock(m_port);
        m_comm.Open(devicePath, 2400, 8, 0, 1);
        error = m_comm.LastError();
        failures = m_comm.ConfigurationFailures();
    }
    for (const std::string& failure : failures) {
        m_prompts.showMessage(failure);
    }
    return error;
}

void InverterLink::close() {
    std::lock_guard lock(m_port);
    m_comm.Close();
}

bool InverterLink::isOpen() const {
    std::lock_guard lock(m_port);
    return m_comm.IsOpen();
}

void InverterLink::purge() {
    std::lock_guard lock(m_port);
    m_comm.Purge();
}

void InverterLink::setLossListener(std::function<void(const LinkLoss&)> listener) {
    std::lock_guard lock(m_port);
    m_lossListener = std::move(listener);
}

// Called under the lock. A descriptor whose device has gone stays dead even
// when the device comes back, so it is closed at once.
std::optional<LinkLoss> InverterLink::closeIfLost() {
    if (m_comm.LostReason().empty()) {
        return std::nullopt;
    }
    LinkLoss loss{m_comm.DevicePath(), m_comm.LostReason()};
    m_comm.Close();
    return loss;
}

void InverterLink::countFailure(const InverterReply& reply) {
    if (!reply.sent) {
        ++m_failures.notSent;
    } else if (reply.count <= 0) {
        ++m_failures.noReply;
    } else if (!reply.valid) {
        ++m_failures.badReply;
    }
}

InverterReply InverterLink::query(InverterCommand command, bool purgeFirst) {
    InverterReply reply;
    std::optional<LinkLoss> loss;
    std::function<void(const LinkLoss&)> listener;
    {
        std::lock_guard lock(m_port);
        if (purgeFirst) {
            m_comm.Purge();
        }
        reply = m_protocol.QueryInverter(command);
        countFailure(reply);
        loss = closeIfLost();
        listener = m_lossListener;
    }
    if (loss && listener) {
        listener(*loss);
    }
    return reply;
}

}  // namespace brevanto
