// Log/ under the program's working directory, made at start-up. When it
// cannot be made the user is told once, and every file falls back to the
// working directory itself.
#pragma once

#include <filesystem>

#include "platform/prompts.h"

namespace brevanto {

inline constexpr const char* kLogDirectory = "Log";

void makeLogDirectory(const std::filesystem::path& root, Prompts& prompts);

}  // namespace brevanto
