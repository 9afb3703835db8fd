// Any [MQTT] section: the check either refuses it with a reason or gives
// settings whose broker address, topics and discovery configs are sound.
#include <cstdlib>
#include <string>

#include "publish/mqttpayloads.h"
#include "publish/mqttsettings.h"
#include "store/settingsfile.h"

using namespace brevanto;

namespace {

bool hasWildcard(const std::string& topic) {
    return topic.find_first_of("+#") != std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text = "[MQTT]\nEnabled=1\n";
    text.append(reinterpret_cast<const char*>(data), size);
    const LoadedSettings loaded = parseSettings(text, {"%d/%m/%Y", "%H:%M:%S"});
    const MqttSettingsCheck check = checkMqttSettings(loaded.settings);
    // Used, refused with a reason, or off (the file did not say Enabled):
    // never used and refused at once.
    if (check.settings && !check.problem.empty()) {
        std::abort();
    }
    if (!check.settings) {
        return 0;
    }
    const MqttSettings& settings = *check.settings;
    if (settings.port < 1 || settings.port > 65535 || settings.host.empty() ||
        settings.serverUri().find_first_of(" /@?", 6) != std::string::npos) {
        std::abort();
    }
    const MqttTopics topics{settings.topic, inverterTopicId(settings.host, false)};
    if (hasWildcard(topics.state()) || hasWildcard(topics.event())) {
        std::abort();
    }
    for (const TopicMessage& config : discoveryConfigs(topics, "1.1.7.1")) {
        if (hasWildcard(config.topic)) {
            std::abort();
        }
    }
    return 0;
}
