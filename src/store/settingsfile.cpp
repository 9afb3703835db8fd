#include "store/settingsfile.h"

#include <system_error>
#include <type_traits>
#include <variant>

#include "link/portmap.h"
#include "platform/atomicfile.h"
#include "store/filebytes.h"
#include "store/inidocument.h"
#include "store/settingskeys.h"
#include "store/storedform.h"

namespace brevanto {
namespace {

constexpr mode_t kPrivateMode = 0600;

template <typename T>
std::optional<T> fromStored(const std::string& stored, const DateTimeFormat& format) {
    if constexpr (std::is_same_v<T, std::int32_t>) {
        return parseStoredInteger(stored);
    } else if constexpr (std::is_same_v<T, bool>) {
        return parseStoredFlag(stored);
    } else if constexpr (std::is_same_v<T, std::string>) {
        return textFromStored(stored);
    } else {
        const auto time = parseStoredTime(stored, format);
        return time ? std::optional<T>(LocalDateTime{{}, *time}) : std::nullopt;
    }
}

template <typename T>
std::string toStored(const T& value, const DateTimeFormat& format) {
    if constexpr (std::is_same_v<T, std::int32_t>) {
        return storedInteger(value);
    } else if constexpr (std::is_same_v<T, bool>) {
        return storedFlag(value);
    } else if constexpr (std::is_same_v<T, std::string>) {
        return storedText(value);
    } else {
        return storedTime(value.time, format);
    }
}

template <typename T>
void readInto(LoadedSettings& loaded, const SettingKey& key, const SettingField<T>& field,
              const std::string& stored, const DateTimeFormat& format) {
    const std::optional<T> value = fromStored<T>(stored, format);
    field.of(loaded.settings) = value.value_or(field.defaultValue);
    // Integers and flags that do not read have always taken their defaults
    // silently; a time turning into midnight deserves a word.
    if constexpr (std::is_same_v<T, LocalDateTime>) {
        if (!value) {
            loaded.unreadTimes.push_back("[" + std::string(key.section) + "] " +
                                         std::string(key.key) + "=" + stored);
        }
    }
}

std::map<int, std::string> portOverridesIn(const IniDocument& document) {
    std::map<int, std::string> overrides;
    for (const auto& [key, value] : document.entries(kPortsSection)) {
        const auto number = PortMap::portNumber(key);
        if (number && !overrides.contains(*number)) {
            overrides.emplace(*number, textFromStored(value));
        }
    }
    return overrides;
}

// A settings file kept elsewhere and linked beside the program stays linked:
// the replacement goes where the link points.
std::filesystem::path replacementTarget(const std::filesystem::path& path) {
    std::error_code error;
    auto resolved = std::filesystem::canonical(path, error);
    return error ? path : resolved;
}

}  // namespace

SettingsFile::SettingsFile(std::filesystem::path path, DateTimeFormat timeFormat)
    : m_path(std::move(path)), m_timeFormat(std::move(timeFormat)) {}

LoadedSettings parseSettings(std::string_view bytes, const DateTimeFormat& timeFormat) {
    const IniDocument document(bytes);
    LoadedSettings loaded;
    for (const SettingKey& key : settingKeys()) {
        const auto stored = document.value(key.section, key.key);
        if (!stored) {
            continue;
        }
        std::visit([&](const auto& field) { readInto(loaded, key, field, *stored, timeFormat); },
                   key.field);
    }
    loaded.portOverrides = portOverridesIn(document);
    return loaded;
}

std::string settingsText(std::string_view existing, const TDati& settings,
                         const DateTimeFormat& timeFormat) {
    IniDocument document(existing);
    for (const SettingKey& key : settingKeys()) {
        std::visit(
            [&](const auto& field) {
                document.setValue(key.section, key.key, toStored(field.in(settings), timeFormat));
            },
            key.field);
    }
    return document.text();
}

LoadedSettings SettingsFile::read() const {
    return parseSettings(readSmallFile(m_path, kMaxBytes).bytes, m_timeFormat);
}

bool SettingsFile::write(const TDati& settings) const {
    const std::filesystem::path target = replacementTarget(m_path);
    const FileBytes existing = readSmallFile(target, kMaxBytes);
    if (existing.status == FileBytes::Status::Unreadable) {
        return false;
    }
    const std::string text = settingsText(existing.bytes, settings, m_timeFormat);
    return replaceFileAtomically(
        target, [&text](ByteSink& sink) { return sink.write(text); }, kPrivateMode, true);
}

}  // namespace brevanto
