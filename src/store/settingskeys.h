// The one table of the settings file: every key with its section, stored
// form, default and the field of TDati it holds. Loading, saving and the
// defaults of a fresh record all read it, so they cannot drift apart.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "platform/localdatetime.h"
#include "store/tdati.h"

namespace brevanto {

// A key's field, reached in a record that is being filled or one being read.
template <typename T>
struct SettingField {
    T& (*of)(TDati&);
    const T& (*in)(const TDati&);
    T defaultValue;
};

// The alternative held is the stored form: integer, flag, text, time of day.
using SettingBinding = std::variant<SettingField<std::int32_t>, SettingField<bool>,
                                    SettingField<std::string>, SettingField<LocalDateTime>>;

struct SettingKey {
    std::string_view section;
    std::string_view key;
    SettingBinding field;
};

// In the order a new file is written: sections [Main] to [REBOOT], and the
// keys of each in the order the program has always written them; then
// [MQTT], which came later.
std::span<const SettingKey> settingKeys();

// The section that maps port names to device paths ("COM3=/dev/ttyUSB1").
inline constexpr std::string_view kPortsSection = "Ports";

}  // namespace brevanto
