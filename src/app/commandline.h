// The program's command line: none for the desktop program, --headless for
// a board without a screen, --all-errors, and --help and --version.
#pragma once

#include <string>
#include <vector>

namespace brevanto {

struct CommandLine {
    enum class Run { Desktop, Headless, Help, Version, Refused };
    Run run = Run::Desktop;
    // Every communication error goes to the journal from the start, as with
    // the settings' "Display all errors on log " box, which a board without
    // a screen cannot reach.
    bool allErrors = false;
    // Why the line was refused.
    std::string problem;
};

// argv without the program's name.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

// What --help prints.
std::string usageText();
// What --version prints.
std::string versionText();

}  // namespace brevanto
