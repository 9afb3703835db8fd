// One exchange with the inverter: send a command frame, read its reply
// within the line's time-outs and decide whether it is a good one. Each of
// the three commands has its own rules for what counts as sent, how the
// reply is read and where its check sits.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

#include "link/tcomm.h"
#include "platform/eventsink.h"

namespace brevanto {

enum class InverterCommand {
    QPIGS,  // main values
    QMOD,   // operating mode letter
    QID,    // serial number: proves that an inverter answers
};

std::string_view commandText(InverterCommand command);

struct InverterReply {
    bool sent = false;           // the frame went out
    int count = 0;               // the read's result: bytes received, or negative
    bool valid = false;          // the reply passed its command's rules
    std::vector<uint8_t> bytes;  // what was stored of the reply
};

// The rules a reply must pass: long enough to hold a frame, not over-long,
// opening with "(" (so an echo of the command is no reply), a matching check
// over the bytes before it, and no refusal ("(NAK").
// `count` is the read's result and `stored` what the buffer holds of it.
bool replyIsValid(InverterCommand command, int count, std::span<const uint8_t> stored);

class InverterProtocol {
public:
    // The main-values reply is read into a buffer of this size; anything
    // longer is refused as an over-long reply.
    static constexpr int kStreamBufferSize = 200;
    static constexpr int kStatusReplyLength = 5;

    // `connected` gates every exchange: nothing is sent while it is false.
    // The communication error lines are written only while `showAllErrors`.
    InverterProtocol(TComm& comm, EventSink& events, std::function<bool()> connected,
                     std::function<bool()> showAllErrors);

    InverterReply QueryInverter(InverterCommand command);

private:
    void reportError(std::string_view line);

    TComm& m_comm;
    EventSink& m_events;
    std::function<bool()> m_connected;
    std::function<bool()> m_showAllErrors;
};

}  // namespace brevanto
