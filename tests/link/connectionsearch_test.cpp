// Connecting: the search over COM1..COM29 and the configured port, each
// against simulators placed on chosen ports.
#include <gtest/gtest.h>

#include "connectionfixture.h"

namespace brevanto::testing {
namespace {

using Lines = std::vector<std::string>;

LinkState::Snapshot connectedState() {
    return {.phase = LinkPhase::Running, .labelCaption = "Connected", .testEnabled = false};
}

LinkState::Snapshot failedState() {
    return {.phase = LinkPhase::Failed, .labelCaption = "Error"};
}

Lines concat(Lines lines, const Lines& more) {
    lines.insert(lines.end(), more.begin(), more.end());
    return lines;
}

class ConnectionSearchTest : public ConnectionFixture {};

TEST_F(ConnectionSearchTest, TheSearchStopsAtTheFirstPortThatAnswers) {
    placeSimulator(12);
    placeSimulator(13);
    manager.ConnectInverter();
    EXPECT_EQ(takeEvents(), concat(notFoundLines(1, 11),
                                   {"Trying port COM12...", "Inverter connected.",
                                    "Connected to " + portPath(12) + " port and Inverter."}));
    EXPECT_EQ(linkState.snapshot(), connectedState());
    EXPECT_TRUE(link.isOpen());
    EXPECT_TRUE(portFree(13));
    EXPECT_TRUE(timer.enabled());
    EXPECT_TRUE(timer1.enabled());
    EXPECT_FALSE(timer3.enabled());  // Timer1's first tick starts it
    EXPECT_EQ(readingStarts, 1);
    EXPECT_EQ(displayUpdates, 1);
    EXPECT_EQ(stopReading, false);
}

TEST_F(ConnectionSearchTest, ASearchThatFindsNoInverterTriesEveryPort) {
    placeSilentSimulator(7);
    placeSimulator(3);
    holdPort(3);  // a port another program holds cannot even be seen
    manager.ConnectInverter();
    Lines expected;
    for (int n = 1; n <= 29; ++n) {
        const std::string name = "COM" + std::to_string(n);
        expected.push_back("Trying port " + name + "...");
        if (n == 7) {
            expected.push_back("Inverter Not connected.");
            expected.push_back("Port " + name + " Found but Inverter not connected.");
        } else {
            expected.push_back("Port " + name + " Not Found.");
        }
    }
    expected.push_back("Port not found in system.");
    EXPECT_EQ(takeEvents(), expected);
    EXPECT_EQ(linkState.snapshot(), failedState());
    EXPECT_FALSE(link.isOpen());
    EXPECT_TRUE(portFree(7));
    EXPECT_FALSE(timer.enabled());
    EXPECT_FALSE(timer1.enabled());
    EXPECT_EQ(readingStarts, 0);
    EXPECT_EQ(stopReading, true);  // disconnected, so the thread stays parked
}

enum class AtPort { Nothing, HeldByAnother, SilentInverter, Inverter };

struct ConfiguredCase {
    const char* name;
    AtPort atPort;
    Lines lines;  // "@" stands for the device path of COM3
    bool connects;
};

void PrintTo(const ConfiguredCase& c, std::ostream* os) {
    *os << c.name;
}

class ConfiguredPortTest : public ConnectionFixture,
                           public ::testing::WithParamInterface<ConfiguredCase> {};

TEST_P(ConfiguredPortTest, OpensTheIndexedPortAndNamesTheConfiguredText) {
    const ConfiguredCase& c = GetParam();
    settings = {.comPort = "COM3", .comPortIndex = 3, .autoSearch = false};
    placeSimulator(12);  // an inverter elsewhere is not looked for
    if (c.atPort == AtPort::SilentInverter) {
        placeSilentSimulator(3);
    } else if (c.atPort != AtPort::Nothing) {
        placeSimulator(3);
    }
    if (c.atPort == AtPort::HeldByAnother) {
        holdPort(3);
    }
    manager.ConnectInverter();
    Lines expected = c.lines;
    for (std::string& line : expected) {
        if (const size_t at = line.find('@'); at != std::string::npos) {
            line.replace(at, 1, portPath(3));
        }
    }
    EXPECT_EQ(takeEvents(), expected);
    EXPECT_EQ(linkState.snapshot(), c.connects ? connectedState() : failedState());
    EXPECT_EQ(link.isOpen(), c.connects);
    EXPECT_EQ(timer.enabled(), c.connects);
    EXPECT_EQ(readingStarts, c.connects ? 1 : 0);
    EXPECT_EQ(stopReading, !c.connects);
    EXPECT_TRUE(portFree(12));
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, ConfiguredPortTest,
    ::testing::Values(
        ConfiguredCase{"Absent", AtPort::Nothing, {"Port COM3 NOT found"}, false},
        ConfiguredCase{"HeldByAnother", AtPort::HeldByAnother, {"Port COM3 NOT found"}, false},
        ConfiguredCase{
            "NoInverter",
            AtPort::SilentInverter,
            {"Inverter Not connected.",
             "Communication port COM3 exists, but Inverter NOT found. Try another port."},
            false},
        ConfiguredCase{"Inverter",
                       AtPort::Inverter,
                       {"Inverter connected.", "Connected to @ port and Inverter."},
                       true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConnectionSearchTest, AnAdapterPluggedBackInIsFoundByTheNextConnect) {
    settings.comPort = "COM12";
    placeSimulator(12);
    manager.ConnectInverter();
    ASSERT_TRUE(linkState.connected());
    unplug(12);
    events.clear();
    manager.Button1Click();  // the exchange meets the hang-up and drops the link
    EXPECT_EQ(takeEvents(), (Lines{"Connection to " + portPath(12) + " lost: Input/output error.",
                                   "Inverter NOT connected on port COM12"}));
    EXPECT_EQ(linkState.snapshot(), failedState());
    EXPECT_FALSE(link.isOpen());
    manager.ConnectInverter();
    EXPECT_EQ(takeEvents(), concat(notFoundLines(1, 29), {"Port not found in system."}));
    placeSimulator(12);
    manager.ConnectInverter();
    EXPECT_EQ(takeEvents(), concat(notFoundLines(1, 11),
                                   {"Trying port COM12...", "Inverter connected.",
                                    "Connected to " + portPath(12) + " port and Inverter."}));
    EXPECT_EQ(linkState.snapshot(), connectedState());
}

}  // namespace
}  // namespace brevanto::testing
