#include "store/logdirectory.h"

#include <system_error>

namespace brevanto {

void makeLogDirectory(const std::filesystem::path& root, Prompts& prompts) {
    std::error_code error;
    const auto directory = root / kLogDirectory;
    if (!std::filesystem::is_directory(directory, error) &&
        !std::filesystem::create_directory(directory, error)) {
        prompts.showMessage(
            "Cannot create Directory for log file. Current directory will be used.");
    }
}

}  // namespace brevanto
