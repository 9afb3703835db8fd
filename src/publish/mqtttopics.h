// Where each message goes: the program's topics under the configured first
// level and the inverter's id, and Home Assistant's discovery topics.
#pragma once

#include <string>
#include <string_view>

namespace brevanto {

struct MqttTopics {
    std::string base;  // [MQTT] Topic
    std::string id;    // the inverter, as a topic level

    // "online" while the program is connected, "offline" as its last will.
    std::string status() const { return base + "/" + id + "/status"; }
    std::string state() const { return base + "/" + id + "/state"; }
    std::string event() const { return base + "/" + id + "/event"; }
    // component is "sensor" or "binary_sensor".
    std::string discovery(std::string_view component, std::string_view key) const {
        return "homeassistant/" + std::string(component) + "/" + id + "/" + std::string(key) +
               "/config";
    }
};

// Home Assistant says "online" here when it starts: the configs go again.
inline constexpr const char* kHomeAssistantStatusTopic = "homeassistant/status";

}  // namespace brevanto
