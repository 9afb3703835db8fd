// What the window shows, computed without it: the link's look and the panels.
#include <gtest/gtest.h>

#include "acquisition/displaytexts.h"
#include "hub/linkpresentation.h"

namespace brevanto {
namespace {

TEST(LinkPresentation, TheTipAndTheColourFollowThePhaseNotTheCaptions) {
    struct Case {
        LinkPhase phase;
        bool test;
        const char* label;
        const char* tip;
        const char* colour;
    };
    for (const Case& c : {
             Case{LinkPhase::Running, false, "Connected", "Brevanto connected and running",
                  "running"},
             Case{LinkPhase::Running, true, "Test Mode", "Brevanto running in TEST MODE",
                  "running"},
             Case{LinkPhase::Connecting, false, "Connecting...", "Brevanto connected and running",
                  "idle"},
             Case{LinkPhase::Idle, false, "---", "Brevanto is NOT running", "idle"},
             // Disconnected in test mode: the label still reads "Test Mode".
             Case{LinkPhase::Idle, true, "Test Mode", "Brevanto is NOT running", "idle"},
             Case{LinkPhase::Failed, false, "Error", "Brevanto is NOT running", "failed"},
         }) {
        LinkState::Snapshot link;
        link.phase = c.phase;
        link.testChecked = c.test;
        link.labelCaption = c.label;
        const LinkPresentation shown(link);
        EXPECT_EQ(shown.trayTip(), c.tip) << c.label;
        EXPECT_STREQ(shown.statusColour(), c.colour) << c.label;
    }
}

TEST(LinkState, TheConnectButtonReadsDisconnectWhileConnectingAndRunning) {
    LinkState link;
    for (const auto& [phase, caption] :
         {std::pair{LinkPhase::Idle, "Connect"}, std::pair{LinkPhase::Connecting, "Disconnect"},
          std::pair{LinkPhase::Running, "Disconnect"}, std::pair{LinkPhase::Failed, "Connect"}}) {
        link.setPhase(phase);
        EXPECT_STREQ(link.snapshot().connectCaption(), caption);
        EXPECT_EQ(link.connected(), std::string(caption) == "Disconnect");
    }
}

TEST(DisplayTexts, StartAsDashesAndShowComputedValuesWithThreeDecimals) {
    const DisplayTexts unset;
    EXPECT_EQ(unset.basic[4], "---");
    EXPECT_EQ(unset.computed[5], "---");
    EXPECT_EQ(unset.mode, "---");

    InverterReadings readings;
    readings.basic[kBatteryVoltage] = "52.10";
    readings.SccBatteryVoltage = "52.20";
    readings.computed.SolarEnergy = 1.5;
    readings.computed.TotalLine = 1234.56789;
    readings.state.BatteryState = "Charging";
    const DisplayTexts texts = displayTexts(readings);
    EXPECT_EQ(texts.basic[4], "52.10[52.20]");
    EXPECT_EQ(texts.basic[0], "");
    EXPECT_EQ(texts.computed, (std::array<std::string, 6>{"1.500", "0.000", "0.000", "0.000",
                                                          "0.000", "1234.568"}));
    EXPECT_EQ(texts.battery, "Charging");
}

}  // namespace
}  // namespace brevanto
