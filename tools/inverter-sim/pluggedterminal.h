// The serial adapter as a user can pull it: while plugged, a pseudo-terminal
// with the link pointing at it; unplugged, neither, so a client's open port
// dies as a pulled USB adapter's does. Plugging again makes a new terminal
// behind the same link, as the adapter comes back under a new device.
#pragma once

#include <filesystem>
#include <optional>

#include "inverter-sim/linksymlink.h"
#include "inverter-sim/pseudoterminal.h"

namespace brevanto::sim {

class PluggedTerminal {
public:
    // Plugged in from the start; throws as PseudoTerminal and LinkSymlink do.
    explicit PluggedTerminal(std::filesystem::path linkPath);

    // The master side, or -1 while unplugged.
    int master() const { return m_terminal ? m_terminal->master() : -1; }
    bool plugged() const { return m_terminal.has_value(); }
    void unplug();
    void plug();

private:
    std::filesystem::path m_linkPath;
    // The link goes before the terminal it points at.
    std::optional<PseudoTerminal> m_terminal;
    std::optional<LinkSymlink> m_link;
};

}  // namespace brevanto::sim
