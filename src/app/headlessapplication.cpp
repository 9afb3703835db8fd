#include "app/headlessapplication.h"

#include "platform/faultreport.h"

namespace brevanto {

HeadlessApplication::HeadlessApplication(int& argc, char** argv) : QCoreApplication(argc, argv) {
    setApplicationName(QStringLiteral("Brevanto"));
}

bool HeadlessApplication::notify(QObject* receiver, QEvent* event) {
    bool handled = false;
    runReportingFaults("a handler", [&] { handled = QCoreApplication::notify(receiver, event); });
    return handled;
}

}  // namespace brevanto
