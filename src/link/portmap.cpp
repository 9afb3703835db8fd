#include "link/portmap.h"

#include <cctype>
#include <charconv>

namespace brevanto {
namespace {

std::string numbered(std::string_view stem, int number) {
    return std::string(stem) + std::to_string(number);
}

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(text[i])) != prefix[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace

PortMap::PortMap(std::map<int, std::string> overrides) : m_overrides(std::move(overrides)) {}

std::string PortMap::defaultDevicePath(int portNumber) {
    if (portNumber >= 1 && portNumber <= 4) {
        return numbered("/dev/ttyS", portNumber - 1);
    }
    if (portNumber >= 5 && portNumber <= 12) {
        return numbered("/dev/ttyUSB", portNumber - 5);
    }
    if (portNumber >= 13 && portNumber <= 20) {
        return numbered("/dev/ttyACM", portNumber - 13);
    }
    if (portNumber >= 21 && portNumber <= 29) {
        return numbered("/dev/ttyS", portNumber - 21 + 4);
    }
    return {};
}

std::string PortMap::devicePath(int portNumber) const {
    const auto found = m_overrides.find(portNumber);
    if (found != m_overrides.end() && !found->second.empty()) {
        return found->second;
    }
    return defaultDevicePath(portNumber);
}

std::optional<int> PortMap::portNumber(std::string_view portName) {
    constexpr std::string_view kDevicePrefix = "\\\\.\\";
    if (portName.substr(0, kDevicePrefix.size()) == kDevicePrefix) {
        portName.remove_prefix(kDevicePrefix.size());
    }
    if (!startsWithIgnoringCase(portName, "COM")) {
        return std::nullopt;
    }
    portName.remove_prefix(3);
    int number = 0;
    const auto [end, error] =
        std::from_chars(portName.data(), portName.data() + portName.size(), number);
    if (error != std::errc{} || end != portName.data() + portName.size() || number < 0 ||
        number > 255) {
        return std::nullopt;
    }
    return number;
}

std::optional<std::string> PortMap::devicePathFor(std::string_view portName) const {
    const auto number = portNumber(portName);
    if (!number) {
        return std::nullopt;
    }
    std::string path = devicePath(*number);
    if (path.empty()) {
        return std::nullopt;
    }
    return path;
}

}  // namespace brevanto
