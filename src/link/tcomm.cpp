#include "link/tcomm.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstring>

namespace brevanto {
namespace {

using SteadyClock = std::chrono::steady_clock;

// Rounded up, so a time-out never ends before its full time.
int millisecondsUntil(SteadyClock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - SteadyClock::now());
    return static_cast<int>(std::max<long long>(0, left.count()));
}

// Waits for the descriptor to be ready; 0 on time-out, -1 on failure.
int waitFor(int fd, short events, int timeoutMs) {
    pollfd entry{fd, events, 0};
    for (;;) {
        const int ready = ::poll(&entry, 1, timeoutMs);
        if (ready >= 0 || errno != EINTR) {
            if (ready > 0 && (entry.revents & POLLNVAL)) {
                errno = EBADF;
                return -1;
            }
            return ready;
        }
    }
}

int openDevice(const std::string& path) {
    return ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
}

// A port that another program holds is not ours to take. flock() stops other
// processes and even root; TIOCEXCL stops further opens by ordinary users.
bool claimExclusively(int fd) {
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        return false;
    }
    ::ioctl(fd, TIOCEXCL);
    return true;
}

// What a terminal answers once its device is gone: a pulled USB adapter, or
// the other end of a pseudo-terminal closed.
bool isHangUp(int error) {
    return error == EIO || error == ENXIO || error == ENODEV;
}

}  // namespace

TComm::TComm(std::unique_ptr<LineErrorMonitor> lineErrors) : m_lineErrors(std::move(lineErrors)) {}

TComm::~TComm() {
    Close();
}

bool TComm::PortExists(const std::string& devicePath) const {
    const int fd = openDevice(devicePath);
    if (fd < 0) {
        return false;
    }
    const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return free;
}

void TComm::Open(const std::string& devicePath, int, int, int, int) {
    m_error = 0;
    m_lostReason.clear();
    m_configurationFailures.clear();
    m_fd = openDevice(devicePath);
    if (m_fd >= 0 && !claimExclusively(m_fd)) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (m_fd < 0) {
        m_error = kErrorOpenFailed;
        return;
    }
    m_devicePath = devicePath;
    configureLine();
    m_lineErrors->reset(m_fd);
}

// The line's time-outs are kept by poll() in the reads and writes below, so
// unlike the line settings they cannot fail here.
void TComm::configureLine() {
    termios settings{};
    if (::tcgetattr(m_fd, &settings) != 0) {
        m_configurationFailures.emplace_back("Errore BuildCommDCB");
        return;
    }
    ::cfmakeraw(&settings);
    settings.c_cflag &= ~(CSTOPB | PARENB | CRTSCTS | CSIZE);
    settings.c_cflag |= CS8 | CLOCAL | CREAD;
    settings.c_iflag &= ~(IXON | IXOFF | IXANY);
    settings.c_cc[VMIN] = 0;
    settings.c_cc[VTIME] = 0;
    if (::cfsetispeed(&settings, B2400) != 0 || ::cfsetospeed(&settings, B2400) != 0 ||
        ::tcsetattr(m_fd, TCSANOW, &settings) != 0) {
        m_configurationFailures.emplace_back("Errore setcommstate");
    }
}

void TComm::noteFailure(int error) {
    m_error = error;
    if (isHangUp(error) && m_lostReason.empty()) {
        m_lostReason = std::strerror(error);
    }
}

// Reads what has arrived: the count, 0 when nothing was there after all, or
// -1 when the read failed. poll() said there was something, so end of file
// on a terminal means its device hung up.
int TComm::readAvailable(uint8_t* buffer, int room) {
    const ssize_t n = ::read(m_fd, buffer, static_cast<size_t>(room));
    if (n > 0) {
        return static_cast<int>(n);
    }
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
        return 0;
    }
    if (n == 0) {
        m_error = EIO;
        if (m_lostReason.empty()) {
            m_lostReason = "end of file";
        }
        return -1;
    }
    noteFailure(errno);
    return -1;
}

int TComm::readBounded(uint8_t* buffer, int count, int totalMs, int intervalMs) {
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(totalMs);
    int got = 0;
    while (got < count) {
        int timeoutMs = millisecondsUntil(deadline);
        if (got > 0) {
            timeoutMs = std::min(timeoutMs, intervalMs);
        }
        const int ready = waitFor(m_fd, POLLIN, timeoutMs);
        if (ready < 0) {
            noteFailure(errno);
            return -1;
        }
        if (ready == 0) {
            break;
        }
        const int n = readAvailable(buffer + got, count - got);
        if (n < 0) {
            return -1;
        }
        got += n;
    }
    return got;
}

int TComm::Read(uint8_t* buffer, int count) {
    m_error = 0;
    if (m_fd < 0) {
        return kReadStateUnknown;
    }
    switch (m_lineErrors->check(m_fd)) {
        case LineErrorMonitor::State::QueryFailed:
            return kReadStateUnknown;
        case LineErrorMonitor::State::ErrorPending:
            m_error = EIO;
            return kReadLineError;
        case LineErrorMonitor::State::Clean:
            break;
    }
    return readBounded(buffer, count, kByteTimeoutMs * count + kConstantTimeoutMs,
                       kIntervalTimeoutMs);
}

// Each byte gets its own 220 ms, as a one-byte read would give it: the loop
// takes whatever has arrived and ends on the first wait that sees nothing.
int TComm::ReadStream(uint8_t* buffer, int capacity) {
    if (m_fd < 0) {
        return -1;
    }
    std::array<uint8_t, 256> chunk{};
    const int drainLimit = kStreamDrainFactor * capacity;
    int received = 0;
    while (received < drainLimit) {
        const int ready = waitFor(m_fd, POLLIN, kStreamSilenceMs);
        if (ready == 0) {
            break;
        }
        if (ready < 0) {
            noteFailure(errno);
            return received - 1;
        }
        const int want = std::min(static_cast<int>(chunk.size()), drainLimit - received);
        const int n = readAvailable(chunk.data(), want);
        if (n < 0) {
            return received - 1;
        }
        const int room = std::max(0, capacity - received);
        if (room > 0) {
            std::copy_n(chunk.begin(), std::min(n, room), buffer + received);
        }
        received += n;
    }
    return received;
}

int TComm::Write(const uint8_t* buffer, int count) {
    if (m_fd < 0) {
        return -1;
    }
    const auto deadline =
        SteadyClock::now() + std::chrono::milliseconds(kByteTimeoutMs * count + kConstantTimeoutMs);
    int written = 0;
    while (written < count) {
        const int ready = waitFor(m_fd, POLLOUT, millisecondsUntil(deadline));
        // A failed write takes the pending line error with it, so the next
        // read starts from a clean line.
        if (ready < 0) {
            noteFailure(errno);
            m_lineErrors->check(m_fd);
            return -1;
        }
        if (ready == 0) {
            break;
        }
        const ssize_t n = ::write(m_fd, buffer + written, static_cast<size_t>(count - written));
        if (n > 0) {
            written += static_cast<int>(n);
        } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
            noteFailure(errno);
            m_lineErrors->check(m_fd);
            return -1;
        }
    }
    return written;
}

void TComm::Purge() {
    if (m_fd >= 0) {
        ::tcflush(m_fd, TCIOFLUSH);
    }
}

void TComm::Close() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
    m_fd = -1;
    m_devicePath.clear();
    m_lostReason.clear();
}

}  // namespace brevanto
