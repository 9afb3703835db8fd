// The hub publishing to a real broker: the simulator's inverter appears as
// a device with its serial number, its readings and its connection line;
// an [MQTT] section that cannot be used is said once and publishes nothing.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "hubfixture.h"
#include "support/mosquittoprocess.h"
#include "support/mqttrecorder.h"

namespace brevanto {
namespace {

using nlohmann::json;
using testing::HubFixture;
using testing::MosquittoProcess;
using testing::MqttRecorder;

// The simulator's serial number.
constexpr const char* kTopics = "home/92932004102453/";

class HubMqttTest : public HubFixture {
protected:
    std::size_t eventsEndingWith(const std::string& suffix) const {
        std::size_t count = 0;
        for (const std::string& line : events()) {
            count += line.ends_with(suffix + " ") ? 1 : 0;
        }
        return count;
    }
};

TEST_F(HubMqttTest, TheSimulatorsReadingReachesTheBrokerUnderItsSerialNumber) {
    MosquittoProcess broker;
    MqttRecorder homeAssistant(broker.port());
    ASSERT_EQ(placeSimulator().command(
                  "qpigs 231.4 50.0 230.0 50.0 0322 0205 005 422 53.20 012 100 0056 0021 224.7 "
                  "53.45 00000 00010110 00 00 00473 010"),
              "ok");
    start(
        "[Main]\nAutoConnect=1\nAutoSearch=0\nCOM PORT=COM1\nCOM PORT index=1\nMeasTime=0\n"
        "[MQTT]\nEnabled=1\nHost=127.0.0.1\nPort=" +
        std::to_string(broker.port()) + "\nTopic=home\n");
    hub->FormCreate();
    hub->FormShow();
    ASSERT_TRUE(serveUntil([&] {
        return homeAssistant.last(std::string(kTopics) + "state") &&
               homeAssistant.last(std::string(kTopics) + "event");
    })) << broker.log();

    const json state = json::parse(homeAssistant.last(std::string(kTopics) + "state")->payload);
    EXPECT_EQ(state["ac_voltage"], 231.4);
    EXPECT_EQ(state["output_apparent_power"], 322);
    EXPECT_EQ(state["output_active_power"], 205);
    EXPECT_EQ(state["battery_voltage"], 53.2);
    EXPECT_EQ(state["battery_capacity"], 100);
    EXPECT_EQ(state["pv_input_voltage"], 224.7);
    EXPECT_EQ(state["pv_input_current"], 21);
    EXPECT_EQ(state["mode"], "Line (bypass)");
    EXPECT_EQ(state["link"], "running");
    EXPECT_TRUE(state.contains("solar_power"));

    const json event = json::parse(homeAssistant.last(std::string(kTopics) + "event")->payload);
    EXPECT_EQ(event["kind"], "connection");
    EXPECT_TRUE(event["text"].get<std::string>().starts_with("Connected to ")) << event;
    const auto device =
        homeAssistant.last("homeassistant/sensor/92932004102453/output_active_power/config");
    ASSERT_TRUE(device);
    EXPECT_EQ(json::parse(device->payload)["device"]["name"], "Inverter 92932004102453");
    ASSERT_TRUE(serveUntil([&] {
        return hasEvent("MQTT broker tcp://127.0.0.1:" + std::to_string(broker.port()) +
                        " connected.");
    }));
}

TEST_F(HubMqttTest, AnMqttSectionThatCannotBeUsedIsSaidOnceAndPublishesNothing) {
    MosquittoProcess broker;
    MqttRecorder homeAssistant(broker.port());
    start("[MQTT]\nEnabled=1\nHost=127.0.0.1\nPort=18a3\n");
    hub->FormCreate();
    const std::string problem =
        "MQTT not started: the port '18a3' is not a number from 1 to 65535.";
    EXPECT_EQ(eventsEndingWith(problem), 1u);
    hub->ApplySettings();
    EXPECT_EQ(eventsEndingWith(problem), 1u);

    // Mended in the dialog, it publishes; broken again, it is said again.
    hub->settings().AppSettings().mqttPort = std::to_string(broker.port());
    hub->TestClick(true);
    hub->Connect1Click();
    hub->ApplySettings();
    ASSERT_TRUE(serveUntil([&] { return homeAssistant.last("brevanto/test/state").has_value(); }));
    hub->settings().AppSettings().mqttPort = "18a3";
    hub->ApplySettings();
    EXPECT_EQ(eventsEndingWith(problem), 2u);
}

}  // namespace
}  // namespace brevanto
