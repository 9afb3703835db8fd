// The path users point Brevanto at: a symbolic link to the pseudo-terminal,
// stable across runs while the terminal's own name changes.
#pragma once

#include <filesystem>
#include <string>

namespace brevanto::sim {

class LinkSymlink {
public:
    // Replaces a symbolic link already at path, from an earlier run; refuses
    // anything else there, since that is somebody's file. Throws
    // std::runtime_error saying why.
    LinkSymlink(std::filesystem::path path, std::filesystem::path target);
    // Removes the link unless it has been pointed elsewhere meanwhile, say by
    // a newer simulator on the same path.
    ~LinkSymlink();
    LinkSymlink(const LinkSymlink&) = delete;
    LinkSymlink& operator=(const LinkSymlink&) = delete;

private:
    std::filesystem::path m_path;
    std::filesystem::path m_target;
};

}  // namespace brevanto::sim
