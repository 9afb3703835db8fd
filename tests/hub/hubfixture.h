// A hub as the program builds it, in a fresh working directory with its own
// settings file, a clock the test moves, recorded prompts, and this thread
// as the main thread. A simulator can stand at COM1. What a window would
// show is recorded through the components' listeners.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "hub/hub.h"
#include "platform/testing/manualclock.h"
#include "platform/testing/recordingprompts.h"
#include "support/simprocess.h"
#include "support/tempdir.h"

namespace brevanto::testing {

class HubFixture : public ::testing::Test {
protected:
    // The settings file's text; "[Ports]\nCOM1=<simulator>" is added when a
    // simulator has been placed first.
    void start(const std::string& ini = {});
    // A paced-off simulator whose link becomes COM1.
    SimProcess& placeSimulator();
    // Serves the main thread until `done` or a generous time-out.
    bool serveUntil(const std::function<bool()>& done);
    std::vector<std::string> events() const;
    bool hasEvent(const std::string& suffix) const;
    std::filesystem::path eventFile() const;
    const TemplateLines& lines() const { return hub->pages().TemplateLine(); }
    std::string mainPageLine(std::size_t index) const {
        return hub->pages().MainPage().line(index);
    }

    // The hub serves its pages (on the port its settings name; with the
    // tests' option 0 is any free port).
    bool serveWeb = false;
    TempDir dir;
    ManualClock clock;
    RecordingPrompts prompts;
    QueuedInvoker invoker;
    std::unique_ptr<SimProcess> sim;
    std::unique_ptr<Hub> hub;
    // What a window would have been shown.
    std::vector<DisplayTexts> displays;
    DisplayLabels labels;
    std::vector<bool> reqByWebBoxes;
    // The mails as they would have gone out, in order (any thread adds).
    std::vector<MailJob> mails() const;

private:
    std::vector<Subscription> m_subscriptions;
    mutable std::mutex m_mailsMutex;
    std::vector<MailJob> m_mails;
};

}  // namespace brevanto::testing
