// Where the program keeps its settings file and its Log/ tree. A copied or
// built program keeps the INI beside itself and Log/ under the working
// directory. An installed one cannot write its own folder (/usr/bin): when
// that folder cannot be written and holds no INI, both live in the user's
// data folder instead (~/.local/share/Brevanto).
#pragma once

#include <filesystem>
#include <functional>

namespace brevanto {

struct ProgramFolders {
    std::filesystem::path settingsFile;
    std::filesystem::path workingDirectory;  // Log/ goes under it
    bool inDataFolder = false;
};

// Whether this process may create files in `folder`.
bool folderWritable(const std::filesystem::path& folder);

// `besideProgram` is the INI's path beside the program (settingsPath()).
// The data folder is made when it is used; when it cannot be made, or is
// empty, the program stays with its own folder.
ProgramFolders programFolders(
    const std::filesystem::path& besideProgram, const std::filesystem::path& currentDirectory,
    const std::filesystem::path& dataFolder,
    const std::function<bool(const std::filesystem::path&)>& writable = folderWritable);

}  // namespace brevanto
