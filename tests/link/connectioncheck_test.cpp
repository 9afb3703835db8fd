// "Check": a dummy answer in test mode, a "QID" otherwise, and the port named
// when no inverter answered.
#include <gtest/gtest.h>

#include "connectionfixture.h"

namespace brevanto::testing {
namespace {

enum class Before { Disconnected, TestModeChosen, ConnectedInTestMode, Connected, InverterSilent };

struct CheckCase {
    const char* name;
    Before before;
    std::vector<std::string> lines;
};

void PrintTo(const CheckCase& c, std::ostream* os) {
    *os << c.name;
}

class CheckTest : public ConnectionFixture, public ::testing::WithParamInterface<CheckCase> {
protected:
    void prepare(Before before) {
        switch (before) {
            case Before::Disconnected:
                return;
            case Before::TestModeChosen:
                linkState.setTestChecked(true);
                return;
            case Before::ConnectedInTestMode:
                connectInTestMode();
                return;
            case Before::Connected:
            case Before::InverterSilent: {
                SimProcess& sim = placeSimulator(4);
                manager.ConnectInverter();
                ASSERT_TRUE(linkState.connected());
                if (before == Before::InverterSilent) {
                    ASSERT_EQ(sim.command("silent on"), "ok");
                }
                return;
            }
        }
    }
};

TEST_P(CheckTest, WritesWhatTheLinkAnswers) {
    settings = {.comPort = "COM4", .comPortIndex = 4, .autoSearch = false};
    prepare(GetParam().before);
    events.clear();
    manager.Button1Click();
    EXPECT_EQ(takeEvents(), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    States, CheckTest,
    ::testing::Values(
        CheckCase{"Disconnected", Before::Disconnected, {"Inverter NOT connected on port COM4"}},
        CheckCase{"TestModeChosen", Before::TestModeChosen, {"Dummy connection test OK."}},
        CheckCase{
            "ConnectedInTestMode", Before::ConnectedInTestMode, {"Dummy connection test OK."}},
        CheckCase{"InverterAnswers", Before::Connected, {"Inverter connected."}},
        CheckCase{"InverterSilent",
                  Before::InverterSilent,
                  {"Inverter Not connected.", "Inverter NOT connected on port COM4"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace brevanto::testing
