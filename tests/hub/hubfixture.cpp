#include "hubfixture.h"

#include "support/waituntil.h"

namespace brevanto::testing {

void HubFixture::start(const std::string& ini) {
    std::string text = ini;
    if (sim) {
        text += "\n[Ports]\nCOM1=" + sim->linkPath().string() + "\n";
    }
    writeFile(dir / "brevanto.INI", text);
    hub = std::make_unique<Hub>(
        HubEnvironment{clock,
                       DateTimeFormat{"%d.%m.%Y", "%H:%M:%S"},
                       prompts,
                       invoker,
                       dir.path(),
                       dir / "brevanto.INI",
                       serveWeb,
                       {.anyFreePortForTests = true},
                       [this](const MailJob& job, const auto& event, const std::atomic<bool>&) {
                           {
                               std::lock_guard lock(m_mailsMutex);
                               m_mails.push_back(job);
                           }
                           event("mailed: " + job.message.body);
                           return false;
                       }});
    m_subscriptions.push_back(hub->display().textsListeners().add(
        [this](const DisplayTexts& texts) { displays.push_back(texts); }));
    m_subscriptions.push_back(hub->display().labelsListeners().add(
        [this](const DisplayLabels& shown) { labels = shown; }));
    m_subscriptions.push_back(hub->reqByWeb().listeners().add(
        [this](bool checked) { reqByWebBoxes.push_back(checked); }));
}

std::vector<MailJob> HubFixture::mails() const {
    std::lock_guard lock(m_mailsMutex);
    return m_mails;
}

SimProcess& HubFixture::placeSimulator() {
    sim = std::make_unique<SimProcess>();
    return *sim;
}

bool HubFixture::serveUntil(const std::function<bool()>& done) {
    return waitUntil(done, invoker);
}

std::vector<std::string> HubFixture::events() const {
    return hub->eventList().snapshot();
}

bool HubFixture::hasEvent(const std::string& suffix) const {
    for (const std::string& line : events()) {
        if (line.ends_with(suffix + " ")) {
            return true;
        }
    }
    return false;
}

std::filesystem::path HubFixture::eventFile() const {
    return dir.path() / hub->eventLog().currentPath();
}

}  // namespace brevanto::testing
