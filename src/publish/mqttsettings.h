// The [MQTT] settings as the publisher uses them, checked: a broker that is
// named, a port that is a port, a topic that is one. A section the user got
// wrong leaves the publisher off and says what is wrong, in one line.
#pragma once

#include <optional>
#include <string>

#include "store/tdati.h"

namespace brevanto {

struct MqttSettings {
    std::string host;
    int port = 1883;
    std::string username;
    std::string password;
    bool tls = false;
    std::string topic = "brevanto";
    bool discovery = true;

    // "tcp://host:1883", or "ssl://..." with TLS: the broker, in Paho's words.
    std::string serverUri() const;
    bool operator==(const MqttSettings&) const = default;
};

struct MqttSettingsCheck {
    // Empty when publishing is off, or when the section cannot be used.
    std::optional<MqttSettings> settings;
    // Why the section cannot be used; empty when it can, or when it is off.
    std::string problem;
};

MqttSettingsCheck checkMqttSettings(const TDati& settings);

}  // namespace brevanto
