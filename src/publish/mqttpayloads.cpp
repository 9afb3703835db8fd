#include "publish/mqttpayloads.h"

#include <nlohmann/json.hpp>

#include "acquisition/readingkeys.h"

namespace brevanto {

namespace {

using nlohmann::json;

// How Home Assistant shows each value: its name, unit and classes. A class
// left empty is one Home Assistant does not define for the value.
struct SensorLook {
    const char* name;
    const char* unit;
    const char* deviceClass;
    const char* stateClass;
};

constexpr std::array<SensorLook, kBasicVariableCount> kReadingLooks = {{
    {"AC voltage", "V", "voltage", "measurement"},
    {"AC frequency", "Hz", "frequency", "measurement"},
    {"PV input voltage", "V", "voltage", "measurement"},
    {"PV input current", "A", "current", "measurement"},
    {"Battery voltage", "V", "voltage", "measurement"},
    {"Battery capacity", "%", "battery", "measurement"},
    {"Charging current", "A", "current", "measurement"},
    {"Discharge current", "A", "current", "measurement"},
    {"Output frequency", "Hz", "frequency", "measurement"},
    {"Output voltage", "V", "voltage", "measurement"},
    {"Output apparent power", "VA", "apparent_power", "measurement"},
    {"Output active power", "W", "power", "measurement"},
    {"Load", "%", "", "measurement"},
    {"Heat sink temperature", "°C", "temperature", "measurement"},
    {"Bus voltage", "V", "voltage", "measurement"},
}};

// The day's energies start again at midnight, which total_increasing takes
// as a new cycle; apparent energy is no energy to Home Assistant.
constexpr std::array<SensorLook, kComputedValueCount> kComputedLooks = {{
    {"Solar energy today", "kWh", "energy", "total_increasing"},
    {"Solar power", "W", "power", "measurement"},
    {"Line apparent energy today", "kWh", "", "total_increasing"},
    {"Line energy today", "kWh", "energy", "total_increasing"},
    {"Solar energy total", "kWh", "energy", "total_increasing"},
    {"Line energy total", "kWh", "energy", "total_increasing"},
}};

struct TextSensor {
    const char* key;
    const char* name;
};

constexpr std::array<TextSensor, 4> kTextSensors = {{
    {"mode", "Mode"},
    {"battery", "Battery state"},
    {"load", "Load state"},
    {"link", "Link"},
}};

constexpr const char* kLinePresentKey = "line_present";

json deviceOf(const MqttTopics& topics, std::string_view programVersion) {
    return {{"identifiers", json::array({"brevanto_" + topics.id})},
            {"name", "Inverter " + topics.id},
            {"model", "PIP 4048MS"},
            {"sw_version", "Brevanto " + std::string(programVersion)}};
}

json configFor(const MqttTopics& topics, const json& device, std::string_view key,
               std::string_view name) {
    return {{"name", name},
            {"unique_id", "brevanto_" + topics.id + "_" + std::string(key)},
            {"object_id", "brevanto_" + topics.id + "_" + std::string(key)},
            {"device", device},
            {"state_topic", topics.state()},
            {"value_template", "{{ value_json." + std::string(key) + " }}"},
            {"availability_topic", topics.status()}};
}

TopicMessage sensor(const MqttTopics& topics, const json& device, std::string_view key,
                    const SensorLook& look) {
    json config = configFor(topics, device, key, look.name);
    config["unit_of_measurement"] = look.unit;
    if (*look.deviceClass != '\0') {
        config["device_class"] = look.deviceClass;
    }
    config["state_class"] = look.stateClass;
    return {topics.discovery("sensor", key), config.dump()};
}

}  // namespace

std::string stateMessage(const PublishedState& state) {
    json message = json::object();
    for (std::size_t i = 0; i < state.readings.size(); ++i) {
        if (state.readings[i]) {
            message[kReadingKeys[i]] = *state.readings[i];
        }
    }
    for (std::size_t i = 0; i < state.computed.size(); ++i) {
        if (state.computed[i]) {
            message[kComputedKeys[i]] = *state.computed[i];
        }
    }
    message["mode"] = state.mode;
    message["battery"] = state.battery;
    message["load"] = state.load;
    message[kLinePresentKey] = state.linePresent;
    message["link"] = linkPhaseName(state.link);
    // A text that is not UTF-8 (a display name typed in another code page)
    // must not make the whole message fail.
    return message.dump(-1, ' ', false, json::error_handler_t::replace);
}

std::string eventMessage(std::string_view kind, std::string_view text) {
    return json{{"kind", kind}, {"text", text}}.dump(-1, ' ', false,
                                                     json::error_handler_t::replace);
}

std::vector<TopicMessage> discoveryConfigs(const MqttTopics& topics,
                                           std::string_view programVersion) {
    const json device = deviceOf(topics, programVersion);
    std::vector<TopicMessage> configs;
    for (std::size_t i = 0; i < kReadingKeys.size(); ++i) {
        configs.push_back(sensor(topics, device, kReadingKeys[i], kReadingLooks[i]));
    }
    for (std::size_t i = 0; i < kComputedKeys.size(); ++i) {
        configs.push_back(sensor(topics, device, kComputedKeys[i], kComputedLooks[i]));
    }
    for (const TextSensor& text : kTextSensors) {
        configs.push_back({topics.discovery("sensor", text.key),
                           configFor(topics, device, text.key, text.name).dump()});
    }
    json line = configFor(topics, device, kLinePresentKey, "Line");
    line["device_class"] = "power";
    line["value_template"] =
        std::string("{{ 'ON' if value_json.") + kLinePresentKey + " else 'OFF' }}";
    configs.push_back({topics.discovery("binary_sensor", kLinePresentKey), line.dump()});
    return configs;
}

}  // namespace brevanto
