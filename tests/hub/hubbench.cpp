#include "hubbench.h"

#include <chrono>

namespace brevanto::testing {

void HubBench::start(const std::string& ini) {
    std::string text = ini;
    if (sim) {
        text += "\n[Ports]\nCOM1=" + sim->linkPath().string() + "\n";
    }
    writeFile(dir / "brevanto.INI", text);
    HubView view;
    view.caption = [this](const std::string& caption) { captions.push_back(caption); };
    view.clock = [this](const std::string& text) { clockTexts.push_back(text); };
    view.display = [this](const DisplayTexts& texts) { displays.push_back(texts); };
    view.basicLabels = [this](const auto& labels) { basicLabels = labels; };
    view.reqByWebBox = [this](bool checked) { reqByWebBoxes.push_back(checked); };
    hub =
        std::make_unique<Hub>(HubEnvironment{clock, DateTimeFormat{"%d.%m.%Y", "%H:%M:%S"}, prompts,
                                             invoker, dir.path(), dir / "brevanto.INI", serveWeb},
                              view);
}

SimProcess& HubBench::placeSimulator() {
    sim = std::make_unique<SimProcess>();
    return *sim;
}

bool HubBench::serveUntil(const std::function<bool()>& done) {
    return invoker.runUntil(done, std::chrono::seconds(30));
}

std::vector<std::string> HubBench::events() const {
    return hub->eventList().snapshot();
}

bool HubBench::hasEvent(const std::string& suffix) const {
    for (const std::string& line : events()) {
        if (line.ends_with(suffix + " ")) {
            return true;
        }
    }
    return false;
}

std::filesystem::path HubBench::eventFile() const {
    return dir.path() / hub->eventLog().currentPath();
}

}  // namespace brevanto::testing
