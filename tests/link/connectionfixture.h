// A connection manager wired as the hub wires it, with every port COMn
// mapped to its own path in a fresh directory: absent until a test places a
// simulator there, so no test touches the machine's real ports.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "link/connectionmanager.h"
#include "platform/testing/recordingeventsink.h"
#include "platform/testing/recordingprompts.h"
#include "support/simprocess.h"
#include "support/tempdir.h"

namespace brevanto::testing {

class ConnectionFixture : public ::testing::Test {
protected:
    ConnectionFixture();

    std::string portPath(int portNumber) const;
    // An answering inverter at COMn (a later one replaces it).
    SimProcess& placeSimulator(int portNumber);
    SimProcess& placeSilentSimulator(int portNumber);
    // The adapter goes away: the simulator ends and its device with it.
    void unplug(int portNumber);
    // Another program opens COMn and keeps it.
    void holdPort(int portNumber);
    bool portFree(int portNumber) const;

    void connectInTestMode();
    // The scheduler's tick as far as the link is concerned: it runs only
    // while Timer does, calls the watchdog and ends by noting LoopCount.
    void schedulerTick();
    // Ticks with a reading thread that finishes no cycle, until the link
    // drops; the number of ticks it took, or 0 if it held for `limit`.
    int stalledTicksUntilDisconnect(int limit = 100);
    std::vector<std::string> takeEvents();
    // "Trying port COMn..." and "Port COMn Not Found." for COM`first`..COM`last`.
    static std::vector<std::string> notFoundLines(int first, int last);

    TempDir dir;
    std::map<int, std::unique_ptr<SimProcess>> sims;
    RecordingPrompts prompts;
    RecordingEventSink events;
    LinkState linkState;
    InverterLink link{prompts, events, [this] { return linkState.connected(); },
                      [] { return false; }};
    CoreTimer timer, timer1, timer3, timerConnect, timerOff;
    ConnectionSettings settings;

    // What the hooks saw.
    int readingStarts = 0;
    int displayUpdates = 0;
    std::optional<bool> stopReading;
    std::optional<int> loopCount = 0;
    bool offTimerArmed = false;

    ConnectionManager manager;

private:
    std::vector<std::unique_ptr<InverterLink>> m_holders;
};

}  // namespace brevanto::testing
