// Where the settings file lives: beside the program, named after it, with
// the extension ".INI" (brevanto keeps brevanto.INI next to itself).
#pragma once

#include <filesystem>
#include <string_view>

namespace brevanto {

// The program file's extension replaced by ".INI", or ".INI" appended when it
// has none. Linux marks a program file replaced while it runs with
// " (deleted)"; the settings stay with the program's name.
std::filesystem::path settingsPathFor(std::string_view programPath);

// From /proc/self/exe; "brevanto.INI" in the working directory if the
// program's own path cannot be read.
std::filesystem::path settingsPath();

}  // namespace brevanto
