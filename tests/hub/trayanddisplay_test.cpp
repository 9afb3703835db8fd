// What the window shows, computed without it: the tray tip and the panels.
#include <gtest/gtest.h>

#include "hub/displaytexts.h"
#include "hub/traytip.h"

namespace brevanto {
namespace {

TEST(TrayTip, FollowsTheLink) {
    struct Case {
        const char* caption;
        bool test;
        const char* tip;
    };
    for (const Case& c : {Case{"Disconnect", false, "Brevanto connected and running"},
                          Case{"Disconnect", true, "Brevanto running in TEST MODE"},
                          Case{"Connect", false, "Brevanto is NOT running"},
                          Case{"Connect", true, "Brevanto is NOT running"}}) {
        LinkState::Snapshot link;
        link.connectCaption = c.caption;
        link.testChecked = c.test;
        EXPECT_EQ(TrayTip(link), c.tip) << c.caption << " " << c.test;
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
