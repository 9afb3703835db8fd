#include "inverter-sim/pluggedterminal.h"

namespace brevanto::sim {

PluggedTerminal::PluggedTerminal(std::filesystem::path linkPath) : m_linkPath(std::move(linkPath)) {
    plug();
}

void PluggedTerminal::unplug() {
    m_link.reset();
    m_terminal.reset();
}

void PluggedTerminal::plug() {
    if (m_terminal) {
        return;
    }
    m_terminal.emplace();
    m_link.emplace(m_linkPath, m_terminal->slavePath());
}

}  // namespace brevanto::sim
