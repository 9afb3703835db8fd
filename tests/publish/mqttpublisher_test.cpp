// The publisher against a real broker (mosquitto on loopback) and a second
// client that sees what Home Assistant would see: the device announced,
// the states, the events, and the journal's lines through a broker that is
// down, restarted, or refuses the password.
#include "publish/mqttpublisher.h"

#include <cstdlib>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "support/freeport.h"
#include "support/mosquittoprocess.h"
#include "support/mqttrecorder.h"
#include "support/waituntil.h"

namespace brevanto {
namespace {

using nlohmann::json;
using testing::MosquittoProcess;
using testing::MqttRecorder;
using testing::pauseBriefly;
using testing::waitUntil;

constexpr const char* kId = "92932004102453";
constexpr const char* kStatus = "brevanto/92932004102453/status";
constexpr const char* kState = "brevanto/92932004102453/state";
constexpr const char* kEvent = "brevanto/92932004102453/event";
constexpr const char* kSolarEnergyConfig =
    "homeassistant/sensor/92932004102453/solar_energy_today/config";
constexpr std::size_t kConfigCount = 26;

MqttSettings brokerAt(int port) {
    MqttSettings settings;
    settings.host = "127.0.0.1";
    settings.port = port;
    return settings;
}

PublishedState reading(double acVoltage) {
    PublishedState state;
    state.inverterId = kId;
    state.readings[0] = acVoltage;
    state.computed[0] = 1.5;
    state.mode = "Line (bypass)";
    state.link = LinkPhase::Running;
    return state;
}

std::size_t configsOn(const MqttRecorder& recorder) {
    std::size_t count = 0;
    for (const auto& message : recorder.messages()) {
        count += message.topic.starts_with("homeassistant/") ? 1 : 0;
    }
    return count;
}

std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

class MqttPublisherTest : public ::testing::Test {
protected:
    std::vector<std::string> lines() const {
        std::lock_guard lock(m_mutex);
        return m_lines;
    }
    bool saidSomething(std::size_t count) const { return lines().size() >= count; }
    static bool waitFor(const std::function<bool()>& done) { return waitUntil(done, pauseBriefly); }

    mutable std::mutex m_mutex;
    std::vector<std::string> m_lines;
    MqttPublisher publisher{[this](const std::string& line) {
                                std::lock_guard lock(m_mutex);
                                m_lines.push_back(line);
                            },
                            "1.1.7.1"};
};

TEST_F(MqttPublisherTest, WithAPasswordItAnnouncesTheDeviceThenEachStateAndEvent) {
    MosquittoProcess broker({.users = {{"brevanto", "sun"}, {"ha", "moon"}}});
    MqttRecorder homeAssistant(broker.port(), {.user = "ha", .password = "moon"});
    MqttSettings settings = brokerAt(broker.port());
    settings.username = "brevanto";
    settings.password = "sun";
    publisher.configure(settings);
    publisher.publishState(reading(231.4));
    ASSERT_TRUE(waitFor([&] { return homeAssistant.last(kState).has_value(); })) << broker.log();

    ASSERT_TRUE(homeAssistant.last(kStatus));
    EXPECT_EQ(homeAssistant.last(kStatus)->payload, "online");
    EXPECT_EQ(configsOn(homeAssistant), kConfigCount);
    const json energy = json::parse(homeAssistant.last(kSolarEnergyConfig)->payload);
    EXPECT_EQ(energy["state_class"], "total_increasing");
    const json state = json::parse(homeAssistant.last(kState)->payload);
    EXPECT_EQ(state["ac_voltage"], 231.4);
    EXPECT_EQ(state["solar_energy_today"], 1.5);
    EXPECT_EQ(state["link"], "running");

    publisher.publishEvent("line_fault", "Line Fault: 11/12/2026 10:00:00");
    ASSERT_TRUE(waitFor([&] { return homeAssistant.last(kEvent).has_value(); }));
    EXPECT_FALSE(homeAssistant.last(kEvent)->retained);
    EXPECT_EQ(json::parse(homeAssistant.last(kEvent)->payload)["kind"], "line_fault");

    // The order of a connect: the status, the configs, then the state.
    const auto messages = homeAssistant.messages();
    EXPECT_EQ(messages.front().topic, kStatus);
    EXPECT_EQ(messages[kConfigCount + 1].topic, kState);

    publisher.stop();
    EXPECT_EQ(homeAssistant.last(kStatus)->payload, "offline");
    const std::string uri = "tcp://127.0.0.1:" + std::to_string(broker.port());
    EXPECT_EQ(lines(), std::vector<std::string>{"MQTT broker " + uri + " connected."});
}

TEST_F(MqttPublisherTest, AWrongPasswordIsSaidOnceHoweverOftenItIsTried) {
    MosquittoProcess broker({.users = {{"brevanto", "sun"}}});
    MqttSettings settings = brokerAt(broker.port());
    settings.username = "brevanto";
    settings.password = "rain";
    publisher.configure(settings);
    publisher.publishState(reading(230));
    // Said once, and Paho goes on trying (after 1, 2, 4 s): the broker sees
    // each refusal, and the journal nothing more.
    ASSERT_TRUE(waitFor([&] { return saidSomething(1); }));
    const std::size_t refused = occurrences(broker.log(), "not authorised");
    ASSERT_TRUE(waitFor([&] { return occurrences(broker.log(), "not authorised") >= refused + 2; }))
        << broker.log();
    const std::string uri = "tcp://127.0.0.1:" + std::to_string(broker.port());
    EXPECT_EQ(lines(),
              std::vector<std::string>{"MQTT broker " + uri + " not reached: not authorized."});
    EXPECT_FALSE(publisher.connected());
}

TEST_F(MqttPublisherTest, ABrokerDownAtStartGetsOnlyTheLatestStateWhenItComes) {
    const int port = testing::unusedPort();
    publisher.configure(brokerAt(port));
    for (int volts = 1; volts <= 1000; ++volts) {
        publisher.publishState(reading(volts));
        publisher.publishEvent("connection", "Connection to /dev/ttyUSB0 lost: a long text.");
    }
    // Only the latest state and the last events wait, however many came.
    EXPECT_LE(publisher.heldBytes(), sizeof(PublishedState) + MqttPublisher::kHeldEvents * 100);
    ASSERT_TRUE(waitFor([&] { return saidSomething(1); }));
    ASSERT_EQ(lines().size(), 1u);
    EXPECT_TRUE(lines()[0].starts_with("MQTT broker tcp://127.0.0.1:" + std::to_string(port) +
                                       " not reached: "))
        << lines()[0];

    MosquittoProcess broker({.port = port});
    ASSERT_TRUE(waitFor([&] { return publisher.connected(); }));
    MqttRecorder homeAssistant(broker.port());
    ASSERT_TRUE(waitFor([&] { return homeAssistant.last(kState).has_value(); }));
    const auto states = homeAssistant.on(kState);
    // Retained, or live if the recorder came first: once either way.
    ASSERT_EQ(states.size(), 1u);
    EXPECT_EQ(json::parse(states[0].payload)["ac_voltage"], 1000);
    EXPECT_EQ(publisher.statesSent(), 1u);
    EXPECT_EQ(lines().size(), 2u);
    EXPECT_EQ(publisher.heldBytes(), 0u);
}

TEST_F(MqttPublisherTest, ARestartedBrokerGetsEverythingAgainAndTheJournalOneLineEachWay) {
    MosquittoProcess broker;
    publisher.configure(brokerAt(broker.port()));
    publisher.publishState(reading(230));
    ASSERT_TRUE(waitFor([&] { return publisher.statesSent() == 1; }));

    broker.stop();
    ASSERT_TRUE(waitFor([&] { return saidSomething(2); }));
    publisher.publishState(reading(228.5));
    broker.start();
    MqttRecorder homeAssistant(broker.port());
    // The restarted broker kept nothing: what it holds now came again.
    ASSERT_TRUE(waitFor([&] {
        return configsOn(homeAssistant) == kConfigCount && homeAssistant.last(kState) &&
               homeAssistant.last(kStatus);
    }));
    EXPECT_EQ(json::parse(homeAssistant.last(kState)->payload)["ac_voltage"], 228.5);
    EXPECT_EQ(homeAssistant.last(kStatus)->payload, "online");
    const std::string uri = "MQTT broker tcp://127.0.0.1:" + std::to_string(broker.port());
    ASSERT_TRUE(waitFor([&] { return saidSomething(3); }));
    const auto said = lines();
    ASSERT_EQ(said.size(), 3u);
    EXPECT_EQ(said[0], uri + " connected.");
    EXPECT_TRUE(said[1].starts_with(uri + " lost")) << said[1];
    EXPECT_EQ(said[2], uri + " connected.");
}

TEST_F(MqttPublisherTest, HomeAssistantComingOnlineGetsTheConfigsAgain) {
    MosquittoProcess broker;
    MqttRecorder homeAssistant(broker.port());
    publisher.configure(brokerAt(broker.port()));
    publisher.publishState(reading(230));
    ASSERT_TRUE(waitFor([&] { return homeAssistant.on(kSolarEnergyConfig).size() == 1; }));
    homeAssistant.publish("homeassistant/status", "online");
    ASSERT_TRUE(waitFor([&] { return homeAssistant.on(kSolarEnergyConfig).size() == 2; }));

    // Without discovery there is nothing to configure, and no birth to follow.
    MqttSettings plain = brokerAt(broker.port());
    plain.discovery = false;
    publisher.configure(plain);
    ASSERT_TRUE(waitFor([&] { return homeAssistant.on(kStatus).size() >= 3; }));
    homeAssistant.publish("homeassistant/status", "online");
    publisher.publishState(reading(229));
    ASSERT_TRUE(waitFor([&] { return homeAssistant.on(kState).size() == 3; }));
    EXPECT_EQ(homeAssistant.on(kSolarEnergyConfig).size(), 2u);
}

TEST_F(MqttPublisherTest, TlsReachesABrokerWhoseCertificateTheSystemTrusts) {
    testing::TempDir certificates;
    const testing::TlsCertificate certificate =
        testing::makeSelfSignedCertificate(certificates.path());
    MosquittoProcess broker({.tls = certificate});
    MqttRecorder homeAssistant(broker.port(),
                               {.trustedCertificate = certificate.certificate.string()});
    MqttSettings settings = brokerAt(broker.port());
    settings.host = "localhost";
    settings.tls = true;

    // Not trusted: refused, and said once.
    publisher.configure(settings);
    publisher.publishState(reading(230));
    ASSERT_TRUE(waitFor([&] { return saidSomething(1); }));
    const std::size_t tried = occurrences(broker.log(), "New connection from");
    ASSERT_TRUE(waitFor([&] {
        return occurrences(broker.log(), "New connection from") >= tried + 2;
    })) << broker.log();
    EXPECT_EQ(lines().size(), 1u);
    EXPECT_FALSE(publisher.connected());

    // OpenSSL's own variable adds the certificate to what the system trusts.
    ::setenv("SSL_CERT_FILE", certificate.certificate.c_str(), 1);
    publisher.configure(std::nullopt);
    publisher.configure(settings);
    publisher.publishState(reading(231));
    const bool reached = waitFor([&] { return homeAssistant.last(kState).has_value(); });
    ::unsetenv("SSL_CERT_FILE");
    ASSERT_TRUE(reached) << broker.log();
    EXPECT_EQ(json::parse(homeAssistant.last(kState)->payload)["ac_voltage"], 231);
}

}  // namespace
}  // namespace brevanto
