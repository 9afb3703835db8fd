// SIGTERM, SIGINT and SIGHUP as a Qt signal on the main thread: the handler
// only writes a byte to a pipe, and the event loop reads it, so the program
// ends through its normal close with every file written.
#pragma once

#include <memory>

#include <QObject>
#include <QSocketNotifier>

namespace brevanto {

class ShutdownSignals : public QObject {
    Q_OBJECT

public:
    // Only one may exist: the process has one set of signal handlers.
    explicit ShutdownSignals(QObject* parent = nullptr);
    ~ShutdownSignals() override;

signals:
    void received(int signal);

private:
    void readPipe();

    std::unique_ptr<QSocketNotifier> m_notifier;
};

}  // namespace brevanto
