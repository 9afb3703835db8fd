// Finding the inverter: open the configured port or try COM1..COM29 in turn,
// and prove with "QID" that an inverter answers. It touches only the link,
// the link state and the event sink, all safe from any thread, so a search
// can leave the main thread without its event lines changing order.
#pragma once

#include <string>

#include "link/inverterlink.h"
#include "link/linkstate.h"
#include "link/portmap.h"
#include "platform/eventsink.h"

namespace brevanto {

// The connect's result codes, with their historic values.
enum class ConnectOutcome {
    Connected = 0,       // a port is open and an inverter answered
    NoInverter = 1,      // the configured port opened, but nothing answered (now closed)
    PortNotOpened = -1,  // the configured port could not be opened
    NothingFound = -2,   // the search found no inverter on any port
};

// A reconnect that keeps failing writes its per-port lines only on its first
// attempt; the later ones drop them, and the manager writes one line instead.
enum class SearchLines { Written, Dropped };

struct ConnectResult {
    ConnectOutcome outcome = ConnectOutcome::NothingFound;
    std::string openedPath;  // the device left open when Connected
};

class ConnectionSearch {
public:
    // The link state must show "Disconnect" while a search runs, or the
    // link's gate keeps "QID" off the line.
    ConnectionSearch(InverterLink& link, LinkState& linkState, EventSink& events);

    // One "QID": true when an inverter answered, whose serial number the
    // link state then keeps. Writes its result line, but nothing at all
    // while disconnected or when the frame could not be sent.
    bool CheckInverter(SearchLines lines = SearchLines::Written);
    // COM1..COM29 through the map, stopping at the first that answers.
    ConnectResult searchPorts(const PortMap& ports, SearchLines lines = SearchLines::Written);
    ConnectResult openConfigured(const PortMap& ports, int portNumber,
                                 SearchLines lines = SearchLines::Written);

private:
    bool tryPort(const PortMap& ports, int portNumber, SearchLines lines);
    void write(const std::string& line, SearchLines lines);

    InverterLink& m_link;
    LinkState& m_linkState;
    EventSink& m_events;
};

}  // namespace brevanto
