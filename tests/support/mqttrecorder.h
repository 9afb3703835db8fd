// A second MQTT client in a test: it subscribes to everything on the
// broker, as Home Assistant or a person with mosquitto_sub would, and keeps
// every message it gets, retained ones first. It follows the broker through
// a restart. It can also publish, as Home Assistant does its status.
#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace brevanto::testing {

struct RecordedMessage {
    std::string topic;
    std::string payload;
    bool retained = false;
};

class MqttRecorder {
public:
    struct Options {
        std::string user{};
        std::string password{};
        // TLS, trusting this certificate.
        std::string trustedCertificate{};
    };

    // Returns once subscribed; throws if the broker does not take it.
    MqttRecorder(int port, Options options);
    explicit MqttRecorder(int port) : MqttRecorder(port, Options{}) {}
    ~MqttRecorder();
    MqttRecorder(const MqttRecorder&) = delete;
    MqttRecorder& operator=(const MqttRecorder&) = delete;

    std::vector<RecordedMessage> messages() const;
    // Those on `topic`, in order.
    std::vector<RecordedMessage> on(const std::string& topic) const;
    // The last on `topic`, if any came.
    std::optional<RecordedMessage> last(const std::string& topic) const;
    void publish(const std::string& topic, const std::string& payload);
    // Whether it is subscribed now (again, after a restart).
    bool subscribed() const;

private:
    struct Client;
    std::unique_ptr<Client> m_client;
};

}  // namespace brevanto::testing
