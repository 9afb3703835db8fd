// Whatever comes down the serial line: the reply check of each command,
// and for a reply that passes it, the split into fields, the charge flags
// and the whole reading step with its energy, as the reading thread and the
// main thread take them.
#include <cstddef>
#include <cstdint>
#include <span>

#include "acquisition/inverterreadings.h"
#include "link/inverterprotocol.h"
#include "link/replyfields.h"
#include "platform/testing/manualclock.h"

using namespace brevanto;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    // The read's result may be a count larger than what was stored, or an
    // error; the first byte picks one of those.
    const int count = size > 0 && data[0] == 0xFF   ? -1
                      : size > 0 && data[0] == 0xFE ? static_cast<int>(size) + 7
                                                    : static_cast<int>(size);
    for (const InverterCommand command :
         {InverterCommand::QPIGS, InverterCommand::QMOD, InverterCommand::QID}) {
        (void)replyIsValid(command, count, bytes);
    }
    ReplyFields fields;
    SplitReply(bytes, fields);
    (void)ReadChargeFlags(bytes);

    static testing::ManualClock clock;
    static ReadTimeBase timeBase{clock};
    InverterReadings readings;
    Exchange exchange;
    exchange.connected = true;
    exchange.reply.sent = true;
    exchange.reply.count = count;
    exchange.reply.bytes.assign(data, data + size);
    exchange.reply.valid = replyIsValid(InverterCommand::QPIGS, count, bytes);
    ReadMainValues(readings, exchange, {false, 0, &timeBase, [](int low, int) { return low; }});
    exchange.reply.valid = replyIsValid(InverterCommand::QMOD, count, bytes);
    ReadStatus(readings, exchange, false);
    return 0;
}
