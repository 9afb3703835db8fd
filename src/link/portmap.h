// Maps the port names the user knows ("COM1".."COM29") to the device paths
// of this machine. [Ports] COMn = path in the settings file overrides the
// built-in table: COM1-COM4 /dev/ttyS0-3, COM5-COM12 /dev/ttyUSB0-7,
// COM13-COM20 /dev/ttyACM0-7, COM21-COM29 /dev/ttyS4-12.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace brevanto {

class PortMap {
public:
    static constexpr int kFirstPort = 1;
    static constexpr int kLastPort = 29;

    PortMap() = default;
    // Overrides by port number; an empty path leaves the default in force.
    explicit PortMap(std::map<int, std::string> overrides);

    // The device path for COMn; numbers outside 1..29 have no default and
    // map only through an override (empty text when neither applies).
    std::string devicePath(int portNumber) const;
    // "COMn", or the Windows device form "\\.\COMn", to the device path.
    std::optional<std::string> devicePathFor(std::string_view portName) const;

    static std::string defaultDevicePath(int portNumber);
    // The n of "COMn" or "\\.\COMn" (case-insensitive), if the name is one.
    static std::optional<int> portNumber(std::string_view portName);
    static std::string portName(int portNumber) { return "COM" + std::to_string(portNumber); }

private:
    std::map<int, std::string> m_overrides;
};

}  // namespace brevanto
