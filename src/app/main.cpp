// Brevanto: start-up in the program's order, the event loop, and the end.
#include <filesystem>

#include "app/brevantoapplication.h"
#include "app/shutdownsignals.h"
#include "platform/clock.h"
#include "store/settingspath.h"
#include "ui/amethyststyle.h"
#include "ui/eventloopinvoker.h"
#include "ui/qtprompts.h"
#include "ui/taboutbox.h"
#include "ui/tform1.h"

using namespace brevanto;

int main(int argc, char** argv) {
    BrevantoApplication application(argc, argv);
    // From here on a signal waits in a pipe until the event loop closes the
    // program with it, so even one during start-up loses nothing.
    ShutdownSignals shutdownSignals;
    applyAmethystStyle(application);

    QueuedInvoker mainThread;
    drainOnEventLoop(mainThread, application);
    QtPrompts prompts(mainThread);
    SystemClock clock;

    TForm1 form1(HubEnvironment{clock, DateTimeFormat::fromEnvironment(), prompts, mainThread,
                                std::filesystem::current_path(), settingsPath(), nullptr},
                 QSystemTrayIcon::isSystemTrayAvailable());
    prompts.setParentWindow(&form1);
    form1.FormCreate();
    TAboutBox aboutBox;
    form1.setAboutBox(&aboutBox);

    QObject::connect(&shutdownSignals, &ShutdownSignals::received, &form1,
                     &TForm1::closeWithoutQuestion);
    // Logout and shutdown: the day's files are written before the session ends.
    QObject::connect(&application, &QGuiApplication::commitDataRequest, &form1,
                     [&form1] { form1.closeWithoutQuestion(); });
    QObject::connect(&form1, &TForm1::programClosed, &application, &QCoreApplication::quit,
                     Qt::QueuedConnection);

    form1.show();
    const int status = BrevantoApplication::exec();
    form1.closeWithoutQuestion();
    return status;
}
