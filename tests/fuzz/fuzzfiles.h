// The loaders read files: each fuzz input becomes a file in a folder of the
// fuzzing process's own, which goes when the process ends.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

namespace brevanto::fuzzing {

inline const std::filesystem::path& scratchFolder() {
    static const std::filesystem::path folder = [] {
        std::filesystem::path made = std::filesystem::temp_directory_path() /
                                     ("brevanto-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(made);
        return made;
    }();
    static const struct Remover {
        ~Remover() {
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
        }
    } remover;
    return folder;
}

inline void writeInput(const std::filesystem::path& path, const std::uint8_t* data,
                       std::size_t size) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

}  // namespace brevanto::fuzzing
