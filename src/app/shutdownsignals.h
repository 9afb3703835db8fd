// SIGTERM, SIGINT and SIGHUP as a Qt signal on the main thread: the handler
// only writes a byte to a pipe, and the event loop reads it, so the program
// ends through its normal close with every file written.
#pragma once

#include <memory>

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

namespace brevanto {

class ShutdownSignals : public QObject {
    Q_OBJECT

public:
    // Only one may exist: the process has one set of signal handlers.
    explicit ShutdownSignals(QObject* parent = nullptr);
    ~ShutdownSignals() override;

    // A signal has come, whether or not anything was connected to hear it:
    // one during a start-up message box is read by the box's event loop,
    // before the program is there to close.
    bool arrived() const { return m_arrived; }

signals:
    void received(int signal);

private:
    void readPipe();
    bool heard() const;
    // Once a signal has come, nobody may be there to answer a box: the one
    // up now and every one after it (a start-up message, a file that cannot
    // be written at the end) is closed as if OK was pressed.
    void closeEveryBox();
    void closeBox();

    std::unique_ptr<QSocketNotifier> m_notifier;
    bool m_arrived = false;
    QTimer m_boxCloser;
};

}  // namespace brevanto
