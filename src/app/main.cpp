// Brevanto: the command line, start-up in the program's order, the event
// loop, and the end.
#include <cstdio>
#include <string>
#include <vector>

#include "app/brevantoapplication.h"
#include "app/brevantoprogram.h"
#include "app/commandline.h"
#include "app/headlessapplication.h"
#include "app/headlessprogram.h"
#include "app/shutdownsignals.h"
#include "app/startfolders.h"
#include "app/startupfailure.h"
#include "platform/clock.h"
#include "ui/amethyststyle.h"

namespace {

using namespace brevanto;

int runDesktop(int& argc, char** argv, bool allErrors) {
    // Twice guarded: a fault once the application exists can also be shown
    // in a message box, one while it is made only on standard error.
    return runReportingStartupFailure(
        [&] {
            BrevantoApplication application(argc, argv);
            return runReportingStartupFailure(
                [&] {
                    // From here on a signal waits in a pipe until the event
                    // loop closes the program with it, so even one during
                    // start-up loses nothing.
                    ShutdownSignals shutdownSignals;
                    applyAmethystStyle(application);
                    SystemClock clock;
                    BrevantoProgram program(application, shutdownSignals, clock, startFolders());
                    program.hub().setShowAllErrors(allErrors);
                    program.show();
                    return BrevantoApplication::exec();
                },
                reportStartupFailure);
        },
        reportStartupFailure);
}

int runHeadless(int& argc, char** argv, bool allErrors) {
    return runReportingStartupFailure(
        [&] {
            HeadlessApplication application(argc, argv);
            ShutdownSignals shutdownSignals;
            SystemClock clock;
            HeadlessProgram program(application, shutdownSignals, clock, startFolders());
            program.hub().setShowAllErrors(allErrors);
            program.start();
            return HeadlessApplication::exec();
        },
        reportStartupFailure);
}

}  // namespace

int main(int argc, char** argv) {
    const CommandLine line = parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    switch (line.run) {
        case CommandLine::Run::Help:
            std::fputs(usageText().c_str(), stdout);
            return 0;
        case CommandLine::Run::Version:
            std::fputs(versionText().c_str(), stdout);
            return 0;
        case CommandLine::Run::Refused:
            std::fprintf(stderr, "brevanto: %s\n%s", line.problem.c_str(), usageText().c_str());
            return 2;
        case CommandLine::Run::Headless:
            return runHeadless(argc, argv, line.allErrors);
        case CommandLine::Run::Desktop:
            break;
    }
    return runDesktop(argc, argv, line.allErrors);
}
