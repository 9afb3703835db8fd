#include "inverter-sim/responder.h"

#include <cstdlib>

#include <gtest/gtest.h>

#include "link/frames.h"

namespace brevanto::sim {
namespace {

std::vector<uint8_t> received(std::string_view command) {
    std::vector<uint8_t> frame = commandFrame(command);
    frame.pop_back();
    return frame;
}

TEST(InverterSimResponder, SpoiltCheckIsWrongButKeepsTheFrameIntact) {
    for (int right = 0; right < 256; ++right) {
        if (right == 0x28 || right == 0x0D || right == 0x0A) {
            continue;  // never sent as a check byte
        }
        const int spoilt = spoiltCheckByte(static_cast<uint8_t>(right));
        SCOPED_TRACE(right);
        EXPECT_GT(std::abs(spoilt - right), 1);
        EXPECT_NE(spoilt, 0x28);
        EXPECT_NE(spoilt, 0x0D);
        EXPECT_NE(spoilt, 0x0A);
    }
}

// A fault scripted for a command is for the next time the command is
// answered; a silent spell in between must not swallow it.
TEST(InverterSimResponder, ScriptedRepliesQueueUpAndOutlastSilence) {
    Responder responder(1);
    responder.apply(QueueRaw{"QMOD", {0x28, 0x41}});
    responder.apply(QueueRaw{"QMOD", {0x0D}});
    responder.apply(SetSilent{true});
    EXPECT_EQ(responder.reply(received("QMOD"), 0), std::nullopt);
    responder.apply(SetSilent{false});
    EXPECT_EQ(responder.reply(received("QID"), 0), replyFrame(kSerialNumber));
    EXPECT_EQ(responder.reply(received("QMOD"), 0), (std::vector<uint8_t>{0x28, 0x41}));
    EXPECT_EQ(responder.reply(received("QMOD"), 0), (std::vector<uint8_t>{0x0D}));
    EXPECT_EQ(responder.reply(received("QMOD"), 0), replyFrame("L"));
}

}  // namespace
}  // namespace brevanto::sim
