#include "tools/serialclient.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <stdexcept>

#include "link/frames.h"
#include "support/simprocess.h"

namespace brevanto::testing {

SerialClient::SerialClient(const std::filesystem::path& port)
    : m_fd(::open(port.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC)) {
    if (m_fd < 0) {
        throw std::runtime_error("cannot open " + port.string());
    }
    termios settings{};
    if (::tcgetattr(m_fd, &settings) != 0) {
        ::close(m_fd);
        throw std::runtime_error(port.string() + " is not a terminal");
    }
    ::cfmakeraw(&settings);
    ::tcsetattr(m_fd, TCSANOW, &settings);
}

SerialClient::~SerialClient() {
    ::close(m_fd);
}

void SerialClient::send(std::span<const uint8_t> bytes) {
    if (::write(m_fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
        throw std::runtime_error("cannot write to the serial line");
    }
}

void SerialClient::sendCommand(std::string_view command) {
    send(commandFrame(command));
}

std::vector<uint8_t> SerialClient::readReply() {
    for (;;) {
        const auto cr = std::find(m_received.begin(), m_received.end(), kCarriageReturn);
        if (cr != m_received.end()) {
            return readBytes(static_cast<size_t>(cr - m_received.begin()) + 1);
        }
        receiveMore();
    }
}

std::vector<uint8_t> SerialClient::readBytes(size_t count) {
    while (m_received.size() < count) {
        receiveMore();
    }
    m_lastByteAt = m_receivedAt[count - 1];
    std::vector<uint8_t> bytes(m_received.begin(), m_received.begin() + count);
    m_received.erase(m_received.begin(), m_received.begin() + count);
    m_receivedAt.erase(m_receivedAt.begin(), m_receivedAt.begin() + count);
    return bytes;
}

void SerialClient::receiveMore() {
    pollfd readable{m_fd, POLLIN, 0};
    const auto timeout = std::chrono::duration_cast<std::chrono::milliseconds>(kSimTimeout);
    if (::poll(&readable, 1, static_cast<int>(timeout.count())) != 1) {
        throw std::runtime_error("no reply on the serial line in time");
    }
    std::array<uint8_t, 512> buffer{};
    const ssize_t n = ::read(m_fd, buffer.data(), buffer.size());
    if (n <= 0) {
        throw std::runtime_error("the serial line closed");
    }
    m_received.insert(m_received.end(), buffer.begin(), buffer.begin() + n);
    m_receivedAt.insert(m_receivedAt.end(), static_cast<size_t>(n), Clock::now());
}

}  // namespace brevanto::testing
