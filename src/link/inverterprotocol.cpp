#include "link/inverterprotocol.h"

#include <algorithm>
#include <optional>
#include <string>

#include "link/framecrc.h"
#include "link/frames.h"

namespace brevanto {
namespace {

struct CommandRules {
    std::string_view text;
    int minimumWritten;    // "QPIGS" also refuses a write that sent nothing
    bool readUntilSilent;  // otherwise one bounded read of the status length
    int minimumCount;      // shorter replies cannot hold a frame
    std::string_view sendError;
};

constexpr CommandRules kRules[] = {
    {"QPIGS", 1, true, 4, "Error in send command."},
    {"QMOD", 0, false, InverterProtocol::kStatusReplyLength, "Error send data energy flow."},
    {"QID", 0, true, 4, "Error send data check."},
};

const CommandRules& rulesFor(InverterCommand command) {
    return kRules[static_cast<int>(command)];
}

std::optional<std::string> receiveError(InverterCommand command, int count) {
    switch (command) {
        case InverterCommand::QPIGS:
            return "Error receiving main values (" + std::to_string(count) + "/" +
                   std::to_string(count) + ")";
        case InverterCommand::QMOD:
            return "Error receiving status (" + std::to_string(count) + "/" +
                   std::to_string(InverterProtocol::kStatusReplyLength) + ")";
        case InverterCommand::QID:
            return std::nullopt;  // the connect writes its own result line
    }
    return std::nullopt;
}

// The check covers every byte before the two check bytes, which precede the CR.
bool checkMatches(std::span<const uint8_t> reply) {
    const size_t at = reply.size() - kCheckAndCrLength;
    const uint16_t check = FrameCrc(reply.first(at));
    return reply[at] == highByte(check) && reply[at + 1] == lowByte(check);
}

// An inverter that does not take a command answers "(NAK" with a good check;
// that is a refusal, not a reading.
bool isRefusal(std::span<const uint8_t> reply) {
    constexpr std::string_view kNak = "(NAK";
    return reply.size() == kNak.size() + kCheckAndCrLength &&
           std::equal(kNak.begin(), kNak.end(), reply.begin());
}

// Every reply opens with "(". A frame that does not is our own command come
// back (a loopback plug, crossed wires): its check is right, but no inverter
// sent it.
bool opensLikeAReply(std::span<const uint8_t> reply) {
    return !reply.empty() && reply.front() == kFrameStart;
}

int capacityFor(InverterCommand command) {
    return rulesFor(command).readUntilSilent ? InverterProtocol::kStreamBufferSize
                                             : InverterProtocol::kStatusReplyLength;
}

}  // namespace

std::string_view commandText(InverterCommand command) {
    return rulesFor(command).text;
}

bool replyIsValid(InverterCommand command, int count, std::span<const uint8_t> stored) {
    return count >= rulesFor(command).minimumCount && count <= capacityFor(command) &&
           static_cast<size_t>(count) == stored.size() && opensLikeAReply(stored) &&
           checkMatches(stored) && !isRefusal(stored);
}

InverterProtocol::InverterProtocol(TComm& comm, EventSink& events, std::function<bool()> connected,
                                   std::function<bool()> showAllErrors)
    : m_comm(comm),
      m_events(events),
      m_connected(std::move(connected)),
      m_showAllErrors(std::move(showAllErrors)) {}

void InverterProtocol::reportError(std::string_view line) {
    if (m_showAllErrors()) {
        m_events.WriteEvent(line);
    }
}

InverterReply InverterProtocol::QueryInverter(InverterCommand command) {
    InverterReply reply;
    if (!m_connected()) {
        return reply;
    }
    const CommandRules& rules = rulesFor(command);
    if (command == InverterCommand::QID) {
        m_comm.Purge();
    }
    const std::vector<uint8_t> frame = commandFrame(rules.text);
    const int written = m_comm.Write(frame.data(), static_cast<int>(frame.size()));
    if (written < rules.minimumWritten) {
        reportError(rules.sendError);
        return reply;
    }
    reply.sent = true;

    const int capacity = capacityFor(command);
    std::vector<uint8_t> buffer(static_cast<size_t>(capacity));
    reply.count = rules.readUntilSilent ? m_comm.ReadStream(buffer.data(), capacity)
                                        : m_comm.Read(buffer.data(), capacity);
    buffer.resize(static_cast<size_t>(std::clamp(reply.count, 0, capacity)));
    reply.bytes = std::move(buffer);

    reply.valid = replyIsValid(command, reply.count, reply.bytes);
    if (!reply.valid) {
        if (const auto line = receiveError(command, reply.count)) {
            reportError(*line);
        }
    }
    return reply;
}

}  // namespace brevanto
