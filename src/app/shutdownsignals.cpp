#include "app/shutdownsignals.h"

#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>

#include <QApplication>
#include <QMetaMethod>
#include <QWidget>

namespace brevanto {

namespace {

int pipeFds[2] = {-1, -1};
constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
constexpr int kBoxCloseIntervalMs = 50;

void onSignal(int signal) {
    const unsigned char byte = static_cast<unsigned char>(signal);
    // Nothing to do if the pipe is full: a close is already on its way.
    [[maybe_unused]] const ssize_t written = ::write(pipeFds[1], &byte, 1);
}

}  // namespace

bool ShutdownSignals::heard() const {
    return isSignalConnected(QMetaMethod::fromSignal(&ShutdownSignals::received));
}

void ShutdownSignals::closeEveryBox() {
    if (!m_boxCloser.isActive()) {
        m_boxCloser.start(kBoxCloseIntervalMs);
    }
    closeBox();
}

// The headless program has no boxes, and no widget application to ask.
void ShutdownSignals::closeBox() {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        return;
    }
    if (QWidget* box = QApplication::activeModalWidget()) {
        box->close();
    }
}

ShutdownSignals::ShutdownSignals(QObject* parent) : QObject(parent) {
    if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) {
        std::perror("brevanto: no pipe for the shutdown signals");
        return;
    }
    connect(&m_boxCloser, &QTimer::timeout, this, &ShutdownSignals::closeBox);
    m_notifier = std::make_unique<QSocketNotifier>(pipeFds[0], QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &ShutdownSignals::readPipe);
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kSignals) {
        ::sigaction(signal, &action, nullptr);
    }
}

ShutdownSignals::~ShutdownSignals() {
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    for (const int signal : kSignals) {
        ::sigaction(signal, &action, nullptr);
    }
    m_notifier.reset();
    for (int& fd : pipeFds) {
        if (fd >= 0) {
            ::close(fd);
            fd = -1;
        }
    }
}

void ShutdownSignals::readPipe() {
    unsigned char byte = 0;
    while (::read(pipeFds[0], &byte, 1) == 1) {
        m_arrived = true;
        closeEveryBox();
        // During start-up nothing hears it yet: the program closes as soon
        // as it is built (arrived()).
        if (heard()) {
            emit received(byte);
        }
    }
}

}  // namespace brevanto
