// A hub as the program builds it, in a fresh working directory with its own
// settings file, a clock the test moves, recorded prompts, and this thread
// as the main thread. A simulator can stand at COM1.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "hub/hub.h"
#include "platform/testing/manualclock.h"
#include "platform/testing/recordingprompts.h"
#include "support/simprocess.h"
#include "support/tempdir.h"

namespace brevanto::testing {

class HubBench : public ::testing::Test {
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

    // The hub serves its pages (on the port its settings name; 0 is any).
    bool serveWeb = false;
    TempDir dir;
    ManualClock clock;
    RecordingPrompts prompts;
    QueuedInvoker invoker;
    std::unique_ptr<SimProcess> sim;
    // What the view was shown.
    std::vector<std::string> captions;
    std::vector<std::string> clockTexts;
    std::vector<DisplayTexts> displays;
    std::array<std::string, kBasicVariableCount> basicLabels{};
    std::vector<bool> reqByWebBoxes;
    std::unique_ptr<Hub> hub;
};

}  // namespace brevanto::testing
