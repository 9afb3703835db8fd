// Keeps the simulated line to 2400 baud 8N1 (ten bits, 1/240 s, a byte) both
// ways, so a client meets the same timing as on a real inverter.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <vector>

namespace brevanto::sim {

using SteadyTime = std::chrono::steady_clock::time_point;

constexpr int kBytesPerSecond = 240;

// How long count bytes take on the line; exact to the nanosecond for any
// count, rather than count times a rounded byte time.
std::chrono::nanoseconds byteTimes(uint64_t count);

// The line from the PC to the inverter: a command counts as received only once
// its bytes could have crossed it.
class ReceiveLine {
public:
    explicit ReceiveLine(bool paced) : m_paced(paced) {}

    // When a byte the simulator read at readAt has fully arrived: bytes that
    // come together queue up behind each other, as on a real line.
    SteadyTime arrived(SteadyTime readAt);

private:
    bool m_paced;
    SteadyTime m_runStart{};
    uint64_t m_runBytes = 0;
};

// The line from the inverter to the PC: replies waiting or going out. Byte k
// of a reply that starts at S is handed over at S + (k + 1) byte times, when
// it has fully crossed, as a UART hands it over; the schedule is absolute, so
// lateness never adds up.
class TransmitLine {
public:
    explicit TransmitLine(bool paced) : m_paced(paced) {}

    // A reply begins at start, or once the one before it has gone out.
    void send(std::vector<uint8_t> bytes, SteadyTime start);

    // When the next byte is due; none when nothing waits.
    std::optional<SteadyTime> nextDue() const;
    // Bytes due by now that have not been written yet, in order, from the
    // first waiting reply only.
    std::span<const uint8_t> due(SteadyTime now) const;
    void written(size_t count);
    bool idle() const { return m_replies.empty(); }

private:
    struct Reply {
        std::vector<uint8_t> bytes;
        SteadyTime start;
        size_t written = 0;
    };

    bool m_paced;
    std::deque<Reply> m_replies;
    SteadyTime m_lineFree{};
};

}  // namespace brevanto::sim
