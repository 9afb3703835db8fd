// How the link looks in the window: the colour of the status panel and the
// tip of the tray icon, from the link's phase, never from its captions.
#pragma once

#include <string>

#include "link/linkstate.h"

namespace brevanto {

class LinkPresentation {
public:
    explicit LinkPresentation(LinkState::Snapshot link) : m_link(std::move(link)) {}

    // The status panel's style state: "running" in green while readings
    // come in, "failed" in red after a connect found nothing, else "idle".
    const char* statusColour() const;
    std::string trayTip() const;

private:
    LinkState::Snapshot m_link;
};

}  // namespace brevanto
