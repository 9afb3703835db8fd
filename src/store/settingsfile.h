// The settings file beside the program: read into a settings record, and a
// record written back into it without losing what else the file holds.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/datetimeformat.h"
#include "store/tdati.h"

namespace brevanto {

struct LoadedSettings {
    TDati settings;
    // [Ports]: device paths by port number, for the link's PortMap.
    std::map<int, std::string> portOverrides;
    // "[Timer] Time A ON=noon" for each time in the file that did not read
    // and took its default, so that the user learns which line to mend.
    std::vector<std::string> unreadTimes;
};

// What read() makes of a file's bytes, and what write() makes the bytes of
// a file hold: the file's own work without the disk.
LoadedSettings parseSettings(std::string_view bytes, const DateTimeFormat& timeFormat);
std::string settingsText(std::string_view existing, const TDati& settings,
                         const DateTimeFormat& timeFormat);

class SettingsFile {
public:
    // Files larger than this are no settings file the program wrote.
    static constexpr std::size_t kMaxBytes = 16 * 1024 * 1024;

    SettingsFile(std::filesystem::path path, DateTimeFormat timeFormat);

    const std::filesystem::path& path() const { return m_path; }

    // Never fails: a missing, unreadable or garbled file, and every value
    // that does not read, gives the defaults; the times among those values
    // are listed in unreadTimes.
    LoadedSettings read() const;

    // Sets every key in the file as it is now, keeping its other sections,
    // keys and comments, and replaces it atomically with mode 0600 (it holds
    // the mail and web passwords). A file that exists but cannot be read is
    // not replaced, so that what it holds is not lost. False when the file
    // was not written; it is then as it was.
    bool write(const TDati& settings) const;

private:
    std::filesystem::path m_path;
    DateTimeFormat m_timeFormat;
};

}  // namespace brevanto
