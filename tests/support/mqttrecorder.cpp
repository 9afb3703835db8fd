#include "support/mqttrecorder.h"

#include <mqtt/async_client.h>

#include <atomic>
#include <chrono>

#include "support/freeport.h"
#include "support/waituntil.h"

namespace brevanto::testing {

namespace {

constexpr std::chrono::seconds kBrokerTimeout{10};

}  // namespace

struct MqttRecorder::Client : mqtt::iaction_listener {
    Client(int port, const Options& options)
        : client((options.trustedCertificate.empty() ? "tcp://127.0.0.1:" : "ssl://localhost:") +
                     std::to_string(port),
                 "recorder-" + std::to_string(unusedPort())) {}

    // The subscription's answer. A callback must not wait for the broker.
    void on_success(const mqtt::token&) override { subscribed = true; }
    void on_failure(const mqtt::token&) override {}

    mqtt::async_client client;
    mutable std::mutex mutex;
    std::vector<RecordedMessage> messages;
    std::atomic<bool> subscribed{false};
};

MqttRecorder::MqttRecorder(int port, Options options)
    : m_client(std::make_unique<Client>(port, options)) {
    Client& c = *m_client;
    c.client.set_message_callback([&c](mqtt::const_message_ptr message) {
        std::lock_guard lock(c.mutex);
        c.messages.push_back(
            {message->get_topic(), message->get_payload_str(), message->is_retained()});
    });
    c.client.set_connection_lost_handler([&c](const std::string&) { c.subscribed = false; });
    c.client.set_connected_handler(
        [&c](const std::string&) { c.client.subscribe("#", 1, nullptr, c); });
    auto builder = mqtt::connect_options_builder().clean_session(true).automatic_reconnect(
        std::chrono::milliseconds(200), std::chrono::seconds(1));
    if (!options.user.empty()) {
        builder.user_name(options.user).password(options.password);
    }
    if (!options.trustedCertificate.empty()) {
        builder.ssl(mqtt::ssl_options_builder().trust_store(options.trustedCertificate).finalize());
    }
    c.client.connect(builder.finalize())->wait_for(kBrokerTimeout);
    if (!waitUntil([&c] { return c.subscribed.load(); }, pauseBriefly, kBrokerTimeout)) {
        throw std::runtime_error("the recorder could not subscribe");
    }
}

MqttRecorder::~MqttRecorder() {
    try {
        m_client->client.disconnect()->wait_for(kBrokerTimeout);
    } catch (const mqtt::exception&) {
        // The broker may be gone already.
    }
}

std::vector<RecordedMessage> MqttRecorder::messages() const {
    std::lock_guard lock(m_client->mutex);
    return m_client->messages;
}

std::vector<RecordedMessage> MqttRecorder::on(const std::string& topic) const {
    std::vector<RecordedMessage> found;
    for (RecordedMessage& message : messages()) {
        if (message.topic == topic) {
            found.push_back(std::move(message));
        }
    }
    return found;
}

std::optional<RecordedMessage> MqttRecorder::last(const std::string& topic) const {
    std::vector<RecordedMessage> found = on(topic);
    if (found.empty()) {
        return std::nullopt;
    }
    return found.back();
}

void MqttRecorder::publish(const std::string& topic, const std::string& payload) {
    m_client->client.publish(topic, payload.data(), payload.size(), 1, false)
        ->wait_for(kBrokerTimeout);
}

bool MqttRecorder::subscribed() const {
    return m_client->subscribed;
}

}  // namespace brevanto::testing
