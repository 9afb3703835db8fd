#include "inverter-sim/responder.h"

#include "link/framecrc.h"
#include "link/frames.h"

namespace brevanto::sim {
namespace {

bool isFramingByte(uint8_t byte) {
    return byte == 0x28 || byte == 0x0D || byte == 0x0A;
}

}  // namespace

std::optional<std::string_view> checkedCommand(std::span<const uint8_t> frame) {
    if (frame.size() < 2) {
        return std::nullopt;
    }
    const auto text = frame.first(frame.size() - 2);
    const uint16_t check = FrameCrc(text);
    if (frame[text.size()] != highByte(check) || frame[text.size() + 1] != lowByte(check)) {
        return std::nullopt;
    }
    return std::string_view(reinterpret_cast<const char*>(text.data()), text.size());
}

uint8_t spoiltCheckByte(uint8_t right) {
    const uint8_t spoilt = right ^ 0x55;
    return isFramingByte(spoilt) ? static_cast<uint8_t>(right ^ 0xAA) : spoilt;
}

Responder::Responder(uint64_t seed) : m_plant(seed) {}

void Responder::apply(const SetMode& change) {
    m_mode = change.letter;
}

void Responder::apply(const SetQpigs& change) {
    m_fixedQpigs = change.payload;
}

void Responder::apply(const QueueRaw& change) {
    m_raw[change.command].push_back(change.bytes);
}

void Responder::apply(const SetSilent& change) {
    m_silent = change.on;
}

void Responder::apply(const SetBadCrc& change) {
    m_badCrc = change.on;
}

void Responder::apply(const SetGrid& change) {
    m_gridOn = change.on;
}

void Responder::apply(const SetNak& change) {
    m_nak = change.on;
}

// Scripted bytes go out exactly as given: they exist to reproduce faults, so
// the spoilt-check switch leaves them alone. While silent, nothing is used
// up, and a scripted reply waits for the next command that is answered; a
// NAK storm refuses every frame and leaves them waiting too.
std::optional<std::vector<uint8_t>> Responder::reply(std::span<const uint8_t> frame,
                                                     double secondsSinceMidnight) {
    m_served = ServedAnswer{.connectProof = false, .reading = std::nullopt, .onLine = onLine()};
    if (m_silent) {
        return std::nullopt;
    }
    const std::optional<std::string_view> command = checkedCommand(frame);
    if (m_nak) {
        return replyFrame("NAK");
    }
    if (command) {
        const auto scripted = m_raw.find(*command);
        if (scripted != m_raw.end() && !scripted->second.empty()) {
            std::vector<uint8_t> bytes = std::move(scripted->second.front());
            scripted->second.pop_front();
            return bytes;
        }
    }
    std::vector<uint8_t> bytes =
        command ? answer(*command, secondsSinceMidnight) : replyFrame("NAK");
    if (m_badCrc) {
        uint8_t& low = bytes[bytes.size() - 2];
        low = spoiltCheckByte(low);
        m_served = ServedAnswer{.connectProof = false, .reading = std::nullopt, .onLine = onLine()};
    }
    return bytes;
}

std::vector<uint8_t> Responder::answer(std::string_view command, double secondsSinceMidnight) {
    if (command == "QPIGS") {
        if (m_fixedQpigs) {
            return replyFrame(*m_fixedQpigs);
        }
        QpigsReading reading = m_plant.reading(secondsSinceMidnight);
        if (!m_gridOn) {
            reading.gridVolts = 0;
            reading.gridHertz = 0;
        }
        m_served.reading = reading;
        return replyFrame(qpigsPayload(reading));
    }
    if (command == "QMOD") {
        const char mode = m_mode == 'L' && !m_gridOn ? 'B' : m_mode;
        return replyFrame(std::string_view(&mode, 1));
    }
    if (command == "QID") {
        m_served.connectProof = true;
        return replyFrame(kSerialNumber);
    }
    return replyFrame("NAK");
}

}  // namespace brevanto::sim
