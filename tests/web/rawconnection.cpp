#include "rawconnection.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace brevanto::testing {

RawConnection::RawConnection(int port) {
    m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (m_fd >= 0 &&
        ::connect(m_fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        close();
    }
}

RawConnection::~RawConnection() {
    close();
}

void RawConnection::close() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

bool RawConnection::send(std::string_view bytes) {
    while (!bytes.empty() && m_fd >= 0) {
        const ssize_t sent = ::send(m_fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return bytes.empty();
}

bool RawConnection::readSome(std::chrono::steady_clock::time_point deadline) {
    if (m_fd < 0 || m_closed) {
        return false;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    pollfd readable{m_fd, POLLIN, 0};
    if (left.count() <= 0 || ::poll(&readable, 1, static_cast<int>(left.count())) != 1) {
        return false;
    }
    char buffer[65536];
    const ssize_t got = ::recv(m_fd, buffer, sizeof buffer, 0);
    if (got <= 0) {
        // An orderly close or a reset: either way the server let go.
        m_closed = true;
        return false;
    }
    m_pending.append(buffer, static_cast<std::size_t>(got));
    return true;
}

std::string RawConnection::readToEnd(std::chrono::milliseconds guard) {
    const auto deadline = std::chrono::steady_clock::now() + guard;
    while (readSome(deadline)) {
    }
    std::string all;
    all.swap(m_pending);
    return all;
}

std::string RawConnection::readResponse(std::chrono::milliseconds guard) {
    const auto deadline = std::chrono::steady_clock::now() + guard;
    for (;;) {
        const auto headEnd = m_pending.find("\r\n\r\n");
        if (headEnd != std::string::npos) {
            std::size_t length = 0;
            const auto field = m_pending.find("Content-Length:");
            if (field != std::string::npos && field < headEnd) {
                length = std::strtoul(m_pending.c_str() + field + 15, nullptr, 10);
            }
            if (m_pending.size() >= headEnd + 4 + length) {
                std::string response = m_pending.substr(0, headEnd + 4 + length);
                m_pending.erase(0, response.size());
                return response;
            }
        }
        if (!readSome(deadline)) {
            std::string partial;
            partial.swap(m_pending);
            return partial;
        }
    }
}

}  // namespace brevanto::testing
