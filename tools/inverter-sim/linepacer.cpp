#include "inverter-sim/linepacer.h"

#include <algorithm>

namespace brevanto::sim {

std::chrono::nanoseconds byteTimes(uint64_t count) {
    constexpr uint64_t kNanosPerSecond = 1'000'000'000;
    const uint64_t nanos = count / kBytesPerSecond * kNanosPerSecond +
                           count % kBytesPerSecond * kNanosPerSecond / kBytesPerSecond;
    return std::chrono::nanoseconds(nanos);
}

SteadyTime ReceiveLine::arrived(SteadyTime readAt) {
    if (!m_paced) {
        return readAt;
    }
    if (m_runBytes == 0 || readAt >= m_runStart + byteTimes(m_runBytes)) {
        m_runStart = readAt;
        m_runBytes = 0;
    }
    ++m_runBytes;
    return m_runStart + byteTimes(m_runBytes);
}

void TransmitLine::send(std::vector<uint8_t> bytes, SteadyTime start) {
    if (bytes.empty()) {
        return;
    }
    if (m_paced) {
        start = std::max(start, m_lineFree);
        m_lineFree = start + byteTimes(bytes.size());
    }
    m_replies.push_back({std::move(bytes), start});
}

std::optional<SteadyTime> TransmitLine::nextDue() const {
    if (m_replies.empty()) {
        return std::nullopt;
    }
    const Reply& reply = m_replies.front();
    return m_paced ? reply.start + byteTimes(reply.written + 1) : reply.start;
}

std::span<const uint8_t> TransmitLine::due(SteadyTime now) const {
    if (m_replies.empty()) {
        return {};
    }
    const Reply& reply = m_replies.front();
    size_t end = reply.bytes.size();
    if (m_paced) {
        end = reply.written;
        while (end < reply.bytes.size() && reply.start + byteTimes(end + 1) <= now) {
            ++end;
        }
    }
    return std::span(reply.bytes).subspan(reply.written, end - reply.written);
}

void TransmitLine::written(size_t count) {
    Reply& reply = m_replies.front();
    reply.written += count;
    if (reply.written == reply.bytes.size()) {
        m_replies.pop_front();
    }
}

}  // namespace brevanto::sim
