#include "publish/mqttsettings.h"

#include <algorithm>
#include <cctype>

#include "platform/numberformat.h"
#include "platform/texttrim.h"

namespace brevanto {

namespace {

// A name or an address, nothing that would change the broker's URI: no
// scheme, path, user part, port or blank. "[::1]" is an IPv6 address.
bool isHostName(std::string_view host) {
    if (host.size() > 2 && host.front() == '[' && host.back() == ']') {
        return std::all_of(host.begin() + 1, host.end() - 1, [](char c) {
            return std::isxdigit(static_cast<unsigned char>(c)) || c == ':' || c == '.';
        });
    }
    return !host.empty() && std::all_of(host.begin(), host.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.' || c == '_';
    });
}

// The first level of every topic: one or more levels without the wildcards,
// with no empty level and not a broker's own "$" topic.
bool isTopicBase(std::string_view topic) {
    if (topic.empty() || topic.front() == '/' || topic.back() == '/' || topic.front() == '$' ||
        topic.find("//") != std::string_view::npos) {
        return false;
    }
    return std::none_of(topic.begin(), topic.end(), [](char c) {
        return c == '+' || c == '#' || static_cast<unsigned char>(c) < 0x20;
    });
}

}  // namespace

std::string MqttSettings::serverUri() const {
    return (tls ? "ssl://" : "tcp://") + host + ":" + std::to_string(port);
}

MqttSettingsCheck checkMqttSettings(const TDati& settings) {
    if (!settings.mqttEnabled) {
        return {};
    }
    MqttSettings checked;
    checked.host = std::string(trimmed(settings.mqttHost));
    if (checked.host.empty()) {
        return {{}, "no broker is named"};
    }
    if (!isHostName(checked.host)) {
        return {{}, "the broker '" + settings.mqttHost + "' is not a host name"};
    }
    const std::optional<long long> port = parseInteger(settings.mqttPort);
    if (!port || *port < 1 || *port > 65535) {
        return {{}, "the port '" + settings.mqttPort + "' is not a number from 1 to 65535"};
    }
    checked.port = static_cast<int>(*port);
    checked.topic = std::string(trimmed(settings.mqttTopic));
    if (!isTopicBase(checked.topic)) {
        return {
            {},
            "the topic '" + settings.mqttTopic + "' is empty or holds '+', '#' or an empty level"};
    }
    checked.username = settings.mqttUsername;
    checked.password = settings.mqttPassword;
    checked.tls = settings.mqttTls;
    checked.discovery = settings.mqttDiscovery;
    return {checked, {}};
}

}  // namespace brevanto
