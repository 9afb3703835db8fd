#include "link/connectionsearch.h"

namespace brevanto {

namespace {

// A good reply is "(", the text, two check bytes and a CR.
std::string replyText(const std::vector<uint8_t>& reply) {
    constexpr std::size_t kFrameBytes = 1 + 2 + 1;
    if (reply.size() < kFrameBytes) {
        return {};
    }
    return std::string(reply.begin() + 1, reply.end() - 3);
}

}  // namespace

ConnectionSearch::ConnectionSearch(InverterLink& link, LinkState& linkState, EventSink& events)
    : m_link(link), m_linkState(linkState), m_events(events) {}

void ConnectionSearch::write(const std::string& line, SearchLines lines) {
    if (lines == SearchLines::Written) {
        m_events.WriteEvent(line);
    }
}

bool ConnectionSearch::CheckInverter(SearchLines lines) {
    if (!m_linkState.connected()) {
        return false;
    }
    const InverterReply reply = m_link.query(InverterCommand::QID);
    if (!reply.sent) {
        // The protocol has written its send error line, if errors are shown.
        return false;
    }
    if (reply.valid) {
        m_linkState.setInverterSerial(replyText(reply.bytes));
    }
    write(reply.valid ? "Inverter connected." : "Inverter Not connected.", lines);
    return reply.valid;
}

ConnectResult ConnectionSearch::searchPorts(const PortMap& ports, SearchLines lines) {
    for (int n = PortMap::kFirstPort; n <= PortMap::kLastPort; ++n) {
        if (tryPort(ports, n, lines)) {
            return {ConnectOutcome::Connected, ports.devicePath(n)};
        }
    }
    return {ConnectOutcome::NothingFound, {}};
}

// A port that another program holds fails PortExists already, so it reads
// "Not Found."; "Busy." is left for a port taken between the two calls.
bool ConnectionSearch::tryPort(const PortMap& ports, int portNumber, SearchLines lines) {
    const std::string name = PortMap::portName(portNumber);
    const std::string path = ports.devicePath(portNumber);
    write("Trying port " + name + "...", lines);
    if (!m_link.portExists(path)) {
        write("Port " + name + " Not Found.", lines);
        return false;
    }
    if (m_link.open(path) != 0) {
        write("Port " + name + " Busy.", lines);
        return false;
    }
    m_link.purge();
    if (CheckInverter(lines)) {
        return true;
    }
    write("Port " + name + " Found but Inverter not connected.", lines);
    m_link.close();
    return false;
}

ConnectResult ConnectionSearch::openConfigured(const PortMap& ports, int portNumber,
                                               SearchLines lines) {
    const std::string path = ports.devicePath(portNumber);
    if (m_link.open(path) != 0) {
        return {ConnectOutcome::PortNotOpened, {}};
    }
    m_link.purge();
    if (!CheckInverter(lines)) {
        return {ConnectOutcome::NoInverter, path};
    }
    return {ConnectOutcome::Connected, path};
}

}  // namespace brevanto
