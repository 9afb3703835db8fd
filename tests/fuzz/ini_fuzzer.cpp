// Any settings file: it reads, and for one input in eight every value it
// gives is written back and the text written reads back to the very same
// settings. The [MQTT]
// section's check takes whatever the file held.
#include <cstdlib>
#include <functional>
#include <string_view>

#include "publish/mqttsettings.h"
#include "store/settingsfile.h"

using namespace brevanto;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const DateTimeFormat format{"%d/%m/%Y", "%H:%M:%S"};
    const LoadedSettings loaded = parseSettings(bytes, format);
    (void)checkMqttSettings(loaded.settings);

    // Into the same file, as a save does. Writing costs ten readings: one
    // input in eight, the same ones on every run, is written back.
    if (std::hash<std::string_view>{}(bytes) % 8 != 0) {
        return 0;
    }
    const std::string written = settingsText(bytes, loaded.settings, format);
    if (!(parseSettings(written, format).settings == loaded.settings)) {
        std::abort();
    }
    return 0;
}
