#include "hub/traytip.h"

namespace brevanto {

std::string TrayTip(const LinkState::Snapshot& link) {
    if (link.connectCaption != LinkState::kDisconnect) {
        return "Brevanto is NOT running";
    }
    return link.testChecked ? "Brevanto running in TEST MODE" : "Brevanto connected and running";
}

}  // namespace brevanto
