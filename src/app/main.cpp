// Brevanto: start-up in the program's order, the event loop, and the end.
#include "app/brevantoapplication.h"
#include "app/brevantoprogram.h"
#include "app/shutdownsignals.h"
#include "app/startupfailure.h"
#include "ui/amethyststyle.h"

int main(int argc, char** argv) {
    using namespace brevanto;
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
                    BrevantoProgram program(application, shutdownSignals, clock);
                    program.show();
                    return BrevantoApplication::exec();
                },
                reportStartupFailure);
        },
        reportStartupFailure);
}
