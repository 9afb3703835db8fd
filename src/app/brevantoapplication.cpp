#include "app/brevantoapplication.h"

#include "platform/faultreport.h"

namespace brevanto {

BrevantoApplication::BrevantoApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Brevanto"));
    // Hidden in the tray, the program still runs: only "Close" ends it.
    setQuitOnLastWindowClosed(false);
}

bool BrevantoApplication::notify(QObject* receiver, QEvent* event) {
    bool handled = false;
    runReportingFaults("a handler", [&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

}  // namespace brevanto
