#include <gtest/gtest.h>

#include "link/frames.h"
#include "link/inverterprotocol.h"
#include "support/fixtures.h"

namespace brevanto {
namespace {

std::optional<InverterCommand> commandNamed(const std::string& name) {
    for (const auto command :
         {InverterCommand::QPIGS, InverterCommand::QMOD, InverterCommand::QID}) {
        if (commandText(command) == name) {
            return command;
        }
    }
    return std::nullopt;
}

bool valid(InverterCommand command, const std::vector<uint8_t>& reply) {
    return replyIsValid(command, static_cast<int>(reply.size()), reply);
}

TEST(ReplyRules, CapturedRepliesAreJudgedAsOnTheRealUnits) {
    for (const auto& reply : testing::capturedReplies()) {
        const auto command = commandNamed(reply.command);
        if (!command) {
            continue;  // a refusal to a command we never send; see below
        }
        EXPECT_EQ(valid(*command, reply.bytes), reply.valid) << reply.description;
    }
}

TEST(ReplyRules, ARefusalIsNeverAReading) {
    for (const auto& reply : testing::capturedReplies()) {
        if (reply.command == "NAK" || reply.command == "QBATCD") {
            for (const auto command :
                 {InverterCommand::QPIGS, InverterCommand::QMOD, InverterCommand::QID}) {
                EXPECT_FALSE(valid(command, reply.bytes)) << reply.description;
            }
        }
    }
}

TEST(ReplyRules, LengthRules) {
    const auto status = replyFrame("B");
    EXPECT_TRUE(valid(InverterCommand::QMOD, status));
    // A short status reply is refused before any check is compared.
    for (size_t n = 0; n < status.size(); ++n) {
        const std::vector<uint8_t> part(status.begin(), status.begin() + static_cast<long>(n));
        EXPECT_FALSE(valid(InverterCommand::QMOD, part)) << n;
    }
    // Serial numbers of any length are accepted, as real units vary.
    for (const char* serial : {"1", "9293333010501", "55355535553555", "1234567890123456"}) {
        EXPECT_TRUE(valid(InverterCommand::QID, replyFrame(serial))) << serial;
    }
    EXPECT_FALSE(valid(InverterCommand::QID, {'(', 0x00, 0x00}));
    // A reply of just a check and a CR is no reading, even if the check fits.
    EXPECT_FALSE(valid(InverterCommand::QPIGS, {0x00, 0x00, 0x0D}));
}

TEST(ReplyRules, OnlyTheCheckDecidesTheEnd) {
    auto noCr = replyFrame("230.0 50.0");
    noCr.back() = 'x';
    EXPECT_TRUE(valid(InverterCommand::QPIGS, noCr));
    auto changedStart = replyFrame("B");
    changedStart[0] = 'Z';
    EXPECT_FALSE(valid(InverterCommand::QMOD, changedStart));  // the check covers byte 0
}

// commandFrame() checks whatever it is given, so these frames carry a right
// check: an echo of our own command, or any frame that does not open with "(".
TEST(ReplyRules, AFrameThatDoesNotOpenWithAParenthesisIsNoReply) {
    const struct {
        InverterCommand command;
        const char* text;
    } cases[] = {
        {InverterCommand::QPIGS, "QPIGS"}, {InverterCommand::QMOD, "QMOD"},
        {InverterCommand::QID, "QID"},     {InverterCommand::QPIGS, "Z230.0 50.0"},
        {InverterCommand::QMOD, "ZB"},     {InverterCommand::QID, "Z1234567890123"},
    };
    for (const auto& c : cases) {
        auto frame = commandFrame(c.text);
        if (c.command == InverterCommand::QMOD) {
            frame.resize(InverterProtocol::kStatusReplyLength);  // what a status read takes in
        }
        EXPECT_FALSE(valid(c.command, frame)) << c.text;
    }
}

TEST(ReplyRules, OverLongRepliesAreRefused) {
    const std::string longPayload(InverterProtocol::kStreamBufferSize, '1');
    const auto reply = replyFrame(longPayload);
    const std::vector<uint8_t> stored(reply.begin(),
                                      reply.begin() + InverterProtocol::kStreamBufferSize);
    EXPECT_FALSE(replyIsValid(InverterCommand::QPIGS, static_cast<int>(reply.size()), stored));
}

}  // namespace
}  // namespace brevanto
