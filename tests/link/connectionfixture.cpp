#include "connectionfixture.h"

namespace brevanto::testing {

ConnectionFixture::ConnectionFixture()
    : manager(
          link, linkState, events,
          [this] {
              std::map<int, std::string> paths;
              for (int n = PortMap::kFirstPort; n <= PortMap::kLastPort; ++n) {
                  paths[n] = portPath(n);
              }
              return PortMap(std::move(paths));
          },
          [this] { return settings; },
          ConnectionTimers{timer, timer1, timer3, timerConnect, timerOff},
          ConnectionHooks{
              .startReading = [this] { ++readingStarts; },
              .setStopReading = [this](bool stop) { stopReading = stop; },
              .updateDisplay = [this] { ++displayUpdates; },
              .loopCount = [this] { return loopCount; },
              .offTimerArmed = [this] { return offTimerArmed; },
          }) {}

std::string ConnectionFixture::portPath(int portNumber) const {
    return (dir / ("ttyCOM" + std::to_string(portNumber))).string();
}

SimProcess& ConnectionFixture::placeSimulator(int portNumber) {
    sims.erase(portNumber);
    auto& sim = sims[portNumber];
    sim = std::make_unique<SimProcess>(SimProcess::Options{.linkPath = portPath(portNumber)});
    return *sim;
}

SimProcess& ConnectionFixture::placeSilentSimulator(int portNumber) {
    SimProcess& sim = placeSimulator(portNumber);
    EXPECT_EQ(sim.command("silent on"), "ok");
    return sim;
}

void ConnectionFixture::unplug(int portNumber) {
    SimProcess& sim = *sims.at(portNumber);
    EXPECT_EQ(sim.command("quit"), "ok");
    EXPECT_EQ(sim.waitForExit(), 0);
    sims.erase(portNumber);
}

void ConnectionFixture::holdPort(int portNumber) {
    auto& holder = m_holders.emplace_back(std::make_unique<InverterLink>(
        prompts, events, [] { return true; }, [] { return false; }));
    ASSERT_EQ(holder->open(portPath(portNumber)), 0);
}

bool ConnectionFixture::portFree(int portNumber) const {
    return link.portExists(portPath(portNumber));
}

void ConnectionFixture::connectInTestMode() {
    linkState.setTestChecked(true);
    manager.ConnectInverter();
    ASSERT_TRUE(linkState.connected());
    events.clear();
}

void ConnectionFixture::schedulerTick() {
    if (!timer.enabled()) {
        return;
    }
    manager.ReconnectWatchdog();
    if (loopCount) {
        manager.setLastLoopCount(*loopCount);
    }
}

int ConnectionFixture::stalledTicksUntilDisconnect(int limit) {
    for (int ticks = 1; ticks <= limit; ++ticks) {
        schedulerTick();
        if (!linkState.connected()) {
            return ticks;
        }
    }
    return 0;
}

std::vector<std::string> ConnectionFixture::takeEvents() {
    std::vector<std::string> taken = events.messages();
    events.clear();
    return taken;
}

std::vector<std::string> ConnectionFixture::notFoundLines(int first, int last) {
    std::vector<std::string> lines;
    for (int n = first; n <= last; ++n) {
        lines.push_back("Trying port COM" + std::to_string(n) + "...");
        lines.push_back("Port COM" + std::to_string(n) + " Not Found.");
    }
    return lines;
}

}  // namespace brevanto::testing
