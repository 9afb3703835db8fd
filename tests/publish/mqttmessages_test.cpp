// What goes out to the broker, read back as JSON: one reading's state,
// which journal lines become events, and Home Assistant's configs.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "publish/journalevents.h"
#include "publish/mqttpayloads.h"
#include "publish/publishedstate.h"

namespace brevanto {
namespace {

using nlohmann::json;

DisplayTexts sunnyPanels() {
    DisplayTexts texts;
    texts.basic = {"230.1", "50.0", "78.4", "12", "52.10[52.20]", "87", "21", "0", "50.0",
                   "229.9", "460",  "368",  "9",  "38",           "392"};
    texts.computed = {"3.250", "940.800", "0.512", "0.498", "1234.567", "88.001"};
    texts.mode = "Battery";
    texts.battery = "Charging";
    texts.load = "Load on";
    return texts;
}

TEST(MqttStateMessage, CarriesEveryPanelAsANumberAndTheTexts) {
    const json state = json::parse(
        stateMessage(publishedState(sunnyPanels(), false, LinkPhase::Running, "92932004102453")));
    EXPECT_EQ(state["ac_voltage"], 230.1);
    EXPECT_EQ(state["battery_voltage"], 52.1);
    EXPECT_EQ(state["bus_voltage"], 392);
    EXPECT_EQ(state["heat_sink_temperature"], 38);
    EXPECT_EQ(state["solar_energy_today"], 3.25);
    EXPECT_EQ(state["solar_power"], 940.8);
    EXPECT_EQ(state["line_energy_today"], 0.498);
    EXPECT_EQ(state["solar_energy_total"], 1234.567);
    EXPECT_EQ(state["line_energy_total"], 88.001);
    EXPECT_EQ(state["mode"], "Battery");
    EXPECT_EQ(state["battery"], "Charging");
    EXPECT_EQ(state["load"], "Load on");
    EXPECT_EQ(state["line_present"], false);
    EXPECT_EQ(state["link"], "running");
    EXPECT_EQ(state.size(), 15u + 6u + 5u);
}

TEST(MqttStateMessage, LeavesOutWhatHasNoNumberYetAndSurvivesBadBytes) {
    DisplayTexts texts;
    texts.mode = "Unknown \xff";
    const json state =
        json::parse(stateMessage(publishedState(texts, true, LinkPhase::Connecting, "x")));
    EXPECT_FALSE(state.contains("ac_voltage"));
    EXPECT_FALSE(state.contains("solar_energy_today"));
    EXPECT_EQ(state["line_present"], true);
    EXPECT_EQ(state["link"], "connecting");
    EXPECT_EQ(state["mode"], "Unknown \xEF\xBF\xBD");
}

TEST(MqttTopicId, IsTheSerialMadeSafeOrTestInTestMode) {
    EXPECT_EQ(inverterTopicId("92932004102453", false), "92932004102453");
    EXPECT_EQ(inverterTopicId("a/b+c#d e\x01", false), "a_b_c_d_e_");
    EXPECT_EQ(inverterTopicId("92932004102453", true), "test");
    EXPECT_EQ(inverterTopicId("", false), "");
}

TEST(MqttEvents, OnlySwitchesLineFaultsAndConnectionLinesGoOut) {
    const std::pair<std::string, std::optional<std::string_view>> cases[] = {
        {"Inverter switched from Line-bypass to Battery: 11/12/2026 10:00:00", "switch"},
        {"Inverter switched from Battery To Line-Bypass: 11/12/2026 10:05:00", "switch"},
        {"Line Fault: 11/12/2026 10:00:00", "line_fault"},
        {"Line restored: 11/12/2026 10:05:00", "line_restored"},
        {"Connected to /dev/ttyUSB0 port and Inverter.", "connection"},
        {"Connection to /dev/ttyUSB0 lost: the device hung up.", "connection"},
        {"AutoReconnect executed: Connected to /dev/ttyUSB0 port and Inverter.", "connection"},
        {"Port COM3 NOT found", "connection"},
        {"Port not found in system.", "connection"},
        {"Connected in Test Mode.", "connection"},
        {"Port COM3 Not Found.", std::nullopt},
        {"Trying port COM3...", std::nullopt},
        {" Timer ON ", std::nullopt},
        {"MQTT broker tcp://127.0.0.1:1883 connected.", std::nullopt},
        {"Web server started.", std::nullopt},
    };
    for (const auto& [line, kind] : cases) {
        EXPECT_EQ(publishedEventKind(line), kind) << line;
    }
    const json event = json::parse(eventMessage("line_fault", "Line Fault: 11/12/2026"));
    EXPECT_EQ(event, (json{{"kind", "line_fault"}, {"text", "Line Fault: 11/12/2026"}}));
}

TEST(MqttDiscovery, EveryValueIsASensorOfOneDeviceAndTheEnergiesSuitTheEnergyDashboard) {
    const MqttTopics topics{"home/solar", "92932004102453"};
    std::map<std::string, json> configs;
    for (const TopicMessage& config : discoveryConfigs(topics, "1.1.7.1")) {
        configs[config.topic] = json::parse(config.payload);
    }
    // Fifteen readings, six computed values, four texts and the line.
    ASSERT_EQ(configs.size(), 26u);
    const std::string sensors = "homeassistant/sensor/92932004102453/";
    for (const auto& [topic, config] : configs) {
        EXPECT_EQ(config["state_topic"], "home/solar/92932004102453/state") << topic;
        EXPECT_EQ(config["availability_topic"], "home/solar/92932004102453/status") << topic;
        EXPECT_EQ(config["device"]["identifiers"], json::array({"brevanto_92932004102453"}));
        EXPECT_EQ(config["device"]["model"], "PIP 4048MS");
        EXPECT_EQ(config["device"]["sw_version"], "Brevanto 1.1.7.1");
        EXPECT_TRUE(config["unique_id"].get<std::string>().starts_with("brevanto_929320"));
        EXPECT_TRUE(config.contains("value_template")) << topic;
    }
    for (const char* key :
         {"solar_energy_today", "solar_energy_total", "line_energy_total", "line_energy_today"}) {
        const json& energy = configs.at(sensors + key + "/config");
        EXPECT_EQ(energy["device_class"], "energy") << key;
        EXPECT_EQ(energy["state_class"], "total_increasing") << key;
        EXPECT_EQ(energy["unit_of_measurement"], "kWh") << key;
        EXPECT_EQ(energy["value_template"], std::string("{{ value_json.") + key + " }}");
    }
    const json& temperature = configs.at(sensors + "heat_sink_temperature/config");
    EXPECT_EQ(temperature["device_class"], "temperature");
    EXPECT_EQ(temperature["unit_of_measurement"], "°C");
    EXPECT_EQ(temperature["state_class"], "measurement");
    EXPECT_EQ(configs.at(sensors + "battery_capacity/config")["device_class"], "battery");
    EXPECT_FALSE(configs.at(sensors + "load_percent/config").contains("device_class"));
    EXPECT_FALSE(configs.at(sensors + "mode/config").contains("unit_of_measurement"));
    const json& line = configs.at("homeassistant/binary_sensor/92932004102453/line_present/config");
    EXPECT_EQ(line["device_class"], "power");
    EXPECT_EQ(line["value_template"], "{{ 'ON' if value_json.line_present else 'OFF' }}");
}

}  // namespace
}  // namespace brevanto
