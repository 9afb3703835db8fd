#include "store/settingspath.h"

#include <system_error>

namespace brevanto {
namespace {

constexpr std::string_view kDeletedMark = " (deleted)";

}  // namespace

std::filesystem::path settingsPathFor(std::string_view programPath) {
    if (programPath.ends_with(kDeletedMark)) {
        programPath.remove_suffix(kDeletedMark.size());
    }
    std::filesystem::path path(programPath);
    path.replace_extension(".INI");
    return path;
}

std::filesystem::path settingsPath() {
    std::error_code error;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error || program.empty()) {
        return "brevanto.INI";
    }
    return settingsPathFor(program.native());
}

}  // namespace brevanto
