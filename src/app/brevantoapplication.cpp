#include "app/brevantoapplication.h"

#include "platform/faultreport.h"

namespace brevanto {

BrevantoApplication::BrevantoApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Brevanto"));
    // Hidden in the tray, the program still runs: only "Close" ends it.
    setQuitOnLastWindowClosed(false);
}

bool BrevantoApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        reportEscapedFault("a handler");
    }
    return false;
}

}  // namespace brevanto
