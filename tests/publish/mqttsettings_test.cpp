// The [MQTT] section as the publisher takes it: what is off, what is wrong
// and why, and what is used as typed.
#include "publish/mqttsettings.h"

#include <gtest/gtest.h>

namespace brevanto {
namespace {

TDati mqttOn(std::string host, std::string port = "1883", std::string topic = "brevanto") {
    TDati settings;
    settings.mqttEnabled = true;
    settings.mqttHost = std::move(host);
    settings.mqttPort = std::move(port);
    settings.mqttTopic = std::move(topic);
    settings.mqttDiscovery = true;
    return settings;
}

TEST(MqttSettingsCheck, OffIsNeitherUsedNorAProblem) {
    TDati settings = mqttOn("");
    settings.mqttEnabled = false;
    const MqttSettingsCheck check = checkMqttSettings(settings);
    EXPECT_FALSE(check.settings);
    EXPECT_EQ(check.problem, "");
}

TEST(MqttSettingsCheck, BadValuesAreRefusedWithTheirReason) {
    struct Case {
        TDati settings;
        std::string problem;
    };
    const Case cases[] = {
        {mqttOn(""), "no broker is named"},
        {mqttOn("  "), "no broker is named"},
        {mqttOn("tcp://broker"), "the broker 'tcp://broker' is not a host name"},
        {mqttOn("broker:1883"), "the broker 'broker:1883' is not a host name"},
        {mqttOn("user@broker"), "the broker 'user@broker' is not a host name"},
        {mqttOn("broker", ""), "the port '' is not a number from 1 to 65535"},
        {mqttOn("broker", "0"), "the port '0' is not a number from 1 to 65535"},
        {mqttOn("broker", "65536"), "the port '65536' is not a number from 1 to 65535"},
        {mqttOn("broker", "18a3"), "the port '18a3' is not a number from 1 to 65535"},
        {mqttOn("broker", "1883", ""), "the topic '' is empty or holds '+', '#' or an empty level"},
        {mqttOn("broker", "1883", "home/+/solar"),
         "the topic 'home/+/solar' is empty or holds '+', '#' or an empty level"},
        {mqttOn("broker", "1883", "solar/#"),
         "the topic 'solar/#' is empty or holds '+', '#' or an empty level"},
        {mqttOn("broker", "1883", "home//solar"),
         "the topic 'home//solar' is empty or holds '+', '#' or an empty level"},
        {mqttOn("broker", "1883", "/solar"),
         "the topic '/solar' is empty or holds '+', '#' or an empty level"},
        {mqttOn("broker", "1883", "$SYS"),
         "the topic '$SYS' is empty or holds '+', '#' or an empty level"},
    };
    for (const Case& c : cases) {
        const MqttSettingsCheck check = checkMqttSettings(c.settings);
        EXPECT_FALSE(check.settings) << c.problem;
        EXPECT_EQ(check.problem, c.problem);
    }
}

TEST(MqttSettingsCheck, GoodValuesAreUsedTrimmedAndNameTheBrokersUri) {
    TDati settings = mqttOn(" broker.lan ", " 8883 ", " home/solar ");
    settings.mqttUsername = "ha";
    settings.mqttPassword = " secret ";
    settings.mqttTls = true;
    const MqttSettingsCheck check = checkMqttSettings(settings);
    ASSERT_TRUE(check.settings) << check.problem;
    EXPECT_EQ(check.problem, "");
    EXPECT_EQ(check.settings->serverUri(), "ssl://broker.lan:8883");
    EXPECT_EQ(check.settings->topic, "home/solar");
    EXPECT_EQ(check.settings->password, " secret ");
    EXPECT_TRUE(check.settings->discovery);

    EXPECT_EQ(checkMqttSettings(mqttOn("[::1]")).settings->serverUri(), "tcp://[::1]:1883");
    EXPECT_EQ(checkMqttSettings(mqttOn("192.168.1.20", "1")).settings->serverUri(),
              "tcp://192.168.1.20:1");
}

}  // namespace
}  // namespace brevanto
