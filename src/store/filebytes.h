// Reads a small file whole without ever blocking or swallowing a huge one:
// only a regular file of bounded size counts as readable. A settings path
// that names a FIFO, a device or a directory must not hang the program.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace brevanto {

struct FileBytes {
    enum class Status { Read, Missing, Unreadable };
    Status status = Status::Missing;
    std::string bytes;
};

FileBytes readSmallFile(const std::filesystem::path& path, std::size_t maxBytes);

}  // namespace brevanto
