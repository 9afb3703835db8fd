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

// QPIGS field 1 is the AC input voltage, field 2 its frequency.
std::string acInput(const std::optional<std::vector<uint8_t>>& reply) {
    return std::string(reply->begin() + 1, reply->begin() + 11);
}

// Without the line the unit cannot be in line mode, whatever the console set.
TEST(InverterSimResponder, AnOutageZeroesTheLineAndRunsTheUnitOnItsBattery) {
    Responder responder(1);
    responder.apply(SetGrid{false});
    EXPECT_EQ(acInput(responder.reply(received("QPIGS"), 12 * 3600.0)), "000.0 00.0");
    EXPECT_EQ(responder.reply(received("QMOD"), 0), replyFrame("B"));
    responder.apply(SetMode{'S'});
    EXPECT_EQ(responder.reply(received("QMOD"), 0), replyFrame("S"));
    responder.apply(SetMode{'L'});
    responder.apply(SetGrid{true});
    EXPECT_EQ(responder.reply(received("QMOD"), 0), replyFrame("L"));
    EXPECT_NE(acInput(responder.reply(received("QPIGS"), 12 * 3600.0)).substr(0, 5), "000.0");
}

TEST(InverterSimResponder, ANakStormRefusesEveryFrameUntilItEnds) {
    Responder responder(1);
    responder.apply(SetNak{true});
    for (const char* command : {"QPIGS", "QMOD", "QID"}) {
        EXPECT_EQ(responder.reply(received(command), 0), replyFrame("NAK")) << command;
        EXPECT_FALSE(responder.lastServed().reading || responder.lastServed().connectProof);
    }
    responder.apply(SetNak{false});
    EXPECT_EQ(responder.reply(received("QID"), 0), replyFrame(kSerialNumber));
}

// The energy ledger counts only what a client could read: a reading with a
// right check, and a QID that proves the inverter is there.
TEST(InverterSimResponder, TellsWhichAnswersCarriedAReadingOrAProof) {
    Responder responder(1);
    responder.reply(received("QPIGS"), 12 * 3600.0);
    ASSERT_TRUE(responder.lastServed().reading);
    EXPECT_GT(responder.lastServed().reading->pvAmps, 0);
    EXPECT_TRUE(responder.lastServed().onLine);
    responder.reply(received("QID"), 0);
    EXPECT_TRUE(responder.lastServed().connectProof);
    EXPECT_FALSE(responder.lastServed().reading);
    responder.apply(SetBadCrc{true});
    responder.reply(received("QPIGS"), 12 * 3600.0);
    EXPECT_FALSE(responder.lastServed().reading);
    responder.apply(SetBadCrc{false});
    responder.apply(SetMode{'B'});
    responder.reply(received("QPIGS"), 12 * 3600.0);
    EXPECT_TRUE(responder.lastServed().reading);
    EXPECT_FALSE(responder.lastServed().onLine);
}

}  // namespace
}  // namespace brevanto::sim
