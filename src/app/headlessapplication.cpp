#include "app/headlessapplication.h"

#include "platform/faultreport.h"

namespace brevanto {

HeadlessApplication::HeadlessApplication(int& argc, char** argv) : QCoreApplication(argc, argv) {
    setApplicationName(QStringLiteral("Brevanto"));
}

bool HeadlessApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QCoreApplication::notify(receiver, event);
    } catch (...) {
        reportEscapedFault("a handler");
    }
    return false;
}

}  // namespace brevanto
