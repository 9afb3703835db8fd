#include "store/programfolders.h"

#include <unistd.h>

#include <system_error>

namespace brevanto {

bool folderWritable(const std::filesystem::path& folder) {
    return ::access(folder.c_str(), W_OK) == 0;
}

ProgramFolders programFolders(const std::filesystem::path& besideProgram,
                              const std::filesystem::path& currentDirectory,
                              const std::filesystem::path& dataFolder,
                              const std::function<bool(const std::filesystem::path&)>& writable) {
    const ProgramFolders own{besideProgram, currentDirectory, false};
    std::filesystem::path programFolder = besideProgram.parent_path();
    if (programFolder.empty()) {
        programFolder = ".";
    }
    std::error_code error;
    if (dataFolder.empty() || writable(programFolder) ||
        std::filesystem::exists(besideProgram, error)) {
        return own;
    }
    std::filesystem::create_directories(dataFolder, error);
    if (error || !writable(dataFolder)) {
        return own;
    }
    return {dataFolder / besideProgram.filename(), dataFolder, true};
}

}  // namespace brevanto
