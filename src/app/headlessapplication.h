// The application of the headless program: Qt's core event loop without a
// display, with the desktop program's rule for faults (an exception that
// escapes a handler ends that handler only, and is said on standard error).
#pragma once

#include <QCoreApplication>

namespace brevanto {

class HeadlessApplication : public QCoreApplication {
    Q_OBJECT

public:
    HeadlessApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace brevanto
