// The JSON of every message: one reading's state, a journal event, and
// Home Assistant's discovery configs for the inverter as a device.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "publish/mqtttopics.h"
#include "publish/publishedstate.h"

namespace brevanto {

// The readings and the computed values under their fixed keys (only those
// with a number), "mode", "battery", "load", "line_present" and "link".
std::string stateMessage(const PublishedState& state);

// {"kind": ..., "text": ...}: the journal's line without its time stamp.
std::string eventMessage(std::string_view kind, std::string_view text);

struct TopicMessage {
    std::string topic;
    std::string payload;
};

// One retained config per sensor, and one binary sensor for the line.
std::vector<TopicMessage> discoveryConfigs(const MqttTopics& topics,
                                           std::string_view programVersion);

}  // namespace brevanto
