#include "app/brevantoapplication.h"

#include <cstdio>
#include <exception>

namespace brevanto {

BrevantoApplication::BrevantoApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Brevanto"));
    // Hidden in the tray, the program still runs: only "Close" ends it.
    setQuitOnLastWindowClosed(false);
}

bool BrevantoApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "brevanto: a handler failed: %s\n", error.what());
    } catch (...) {
        std::fprintf(stderr, "brevanto: a handler failed\n");
    }
    return false;
}

}  // namespace brevanto
