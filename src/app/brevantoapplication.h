// The Qt application with the program's one rule for faults: an exception
// that escapes a handler of the main thread ends that handler only. It is
// written to standard error, so a fault leaves a trace, and the program
// goes on.
#pragma once

#include <QApplication>

namespace brevanto {

class BrevantoApplication : public QApplication {
    Q_OBJECT

public:
    BrevantoApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace brevanto
