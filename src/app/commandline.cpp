#include "app/commandline.h"

#include "hub/programidentity.h"

namespace brevanto {

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine line;
    for (const std::string& argument : arguments) {
        if (argument == "--help" || argument == "-h") {
            return {CommandLine::Run::Help, false, {}};
        }
        if (argument == "--version") {
            return {CommandLine::Run::Version, false, {}};
        }
        if (argument == "--headless") {
            line.run = CommandLine::Run::Headless;
        } else if (argument == "--all-errors") {
            line.allErrors = true;
        } else {
            return {CommandLine::Run::Refused, false, "unknown argument '" + argument + "'"};
        }
    }
    return line;
}

std::string usageText() {
    return "Usage: brevanto [--headless] [--all-errors]\n"
           "Monitors a PIP 4048MS solar inverter on its serial line: live readings,\n"
           "daily logs, a web page, mails and MQTT.\n"
           "\n"
           "  --headless    run without a window or tray icon: message boxes become\n"
           "                journal lines and lines on standard error, questions\n"
           "                take their default answer; the web page and MQTT are\n"
           "                the program's interface. SIGTERM ends it with every\n"
           "                file written.\n"
           "  --all-errors  write every communication error to the journal, as\n"
           "                the settings' \"Display all errors on log\" box does\n"
           "  --help        show this text\n"
           "  --version     show the program's version\n"
           "\n"
           "The settings are brevanto.INI beside the program and the logs go to Log/\n"
           "under the working directory; an installed program, whose folder cannot\n"
           "be written, keeps both in ~/.local/share/Brevanto.\n";
}

std::string versionText() {
    return std::string("Brevanto ") + kProgramVersion + "\n";
}

}  // namespace brevanto
