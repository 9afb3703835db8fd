// The PC's end of the simulated serial line, opened the plain POSIX way a
// program opens a real port, for tests that talk to the simulator.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>
#include <vector>

namespace brevanto::testing {

class SerialClient {
public:
    using Clock = std::chrono::steady_clock;

    // Throws if the port cannot be opened or set raw.
    explicit SerialClient(const std::filesystem::path& port);
    ~SerialClient();
    SerialClient(const SerialClient&) = delete;
    SerialClient& operator=(const SerialClient&) = delete;

    void send(std::span<const uint8_t> bytes);
    // The command in a frame with its check and CR.
    void sendCommand(std::string_view command);

    // Bytes up to and including the next CR; throws if none comes in time.
    std::vector<uint8_t> readReply();
    // Exactly count bytes, CRs or not; throws if they do not come in time.
    std::vector<uint8_t> readBytes(size_t count);
    // When the read that returned the newest byte handed out came back.
    Clock::time_point lastByteAt() const { return m_lastByteAt; }

private:
    void receiveMore();

    int m_fd = -1;
    std::vector<uint8_t> m_received;
    std::vector<Clock::time_point> m_receivedAt;
    Clock::time_point m_lastByteAt{};
};

}  // namespace brevanto::testing
