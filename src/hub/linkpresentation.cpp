#include "hub/linkpresentation.h"

namespace brevanto {

const char* LinkPresentation::statusColour() const {
    switch (m_link.phase) {
        case LinkPhase::Running:
            return "running";
        case LinkPhase::Failed:
            return "failed";
        case LinkPhase::Idle:
        case LinkPhase::Connecting:
            break;
    }
    return "idle";
}

std::string LinkPresentation::trayTip() const {
    if (!m_link.connected()) {
        return "Brevanto is NOT running";
    }
    return m_link.testChecked ? "Brevanto running in TEST MODE" : "Brevanto connected and running";
}

}  // namespace brevanto
