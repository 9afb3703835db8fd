// Whole exchanges with the simulator over a real pseudo-terminal.
#include "link/inverterprotocol.h"

#include <atomic>

#include <gtest/gtest.h>

#include "link/frames.h"
#include "platform/testing/recordingeventsink.h"
#include "support/fixtures.h"
#include "support/simprocess.h"

namespace brevanto {
namespace {

class InverterProtocolTest : public ::testing::Test {
protected:
    InverterProtocolTest() { comm.Open(sim.linkPath().string(), 2400, 8, 0, 1); }

    InverterReply query(InverterCommand command) {
        comm.Purge();
        return protocol.QueryInverter(command);
    }

    testing::SimProcess sim;
    testing::RecordingEventSink events;
    TComm comm;
    std::atomic<bool> connected{true};
    std::atomic<bool> showAllErrors{true};
    InverterProtocol protocol{comm, events, [this] { return connected.load(); },
                              [this] { return showAllErrors.load(); }};
};

TEST_F(InverterProtocolTest, EachCommandGetsAGoodReply) {
    const auto mainValues = query(InverterCommand::QPIGS);
    EXPECT_TRUE(mainValues.valid);
    EXPECT_EQ(mainValues.count, 110);
    ASSERT_EQ(sim.command("mode B"), "ok");
    const auto status = query(InverterCommand::QMOD);
    EXPECT_TRUE(status.valid);
    EXPECT_EQ(status.bytes.at(1), 'B');
    EXPECT_TRUE(query(InverterCommand::QID).valid);
    EXPECT_TRUE(events.messages().empty());
}

TEST_F(InverterProtocolTest, CapturedRepliesCrossTheLineAndAreJudgedAsOnTheRealUnits) {
    for (const auto& captured : testing::capturedReplies()) {
        for (const auto command :
             {InverterCommand::QPIGS, InverterCommand::QMOD, InverterCommand::QID}) {
            if (captured.command != commandText(command)) {
                continue;
            }
            ASSERT_EQ(sim.command("raw " + captured.command + " " +
                                  testing::hexFromBytes(captured.bytes)),
                      "ok");
            const auto reply = query(command);
            EXPECT_EQ(reply.valid, captured.valid) << captured.description;
            if (command != InverterCommand::QMOD) {
                EXPECT_EQ(reply.bytes, captured.bytes) << captured.description;
            }
        }
    }
}

TEST_F(InverterProtocolTest, ASilentInverterWritesTheCountsWhenAllErrorsAreShown) {
    ASSERT_EQ(sim.command("silent on"), "ok");
    EXPECT_FALSE(query(InverterCommand::QPIGS).valid);
    EXPECT_FALSE(query(InverterCommand::QMOD).valid);
    EXPECT_FALSE(query(InverterCommand::QID).valid);
    EXPECT_EQ(events.messages(), (std::vector<std::string>{"Error receiving main values (0/0)",
                                                           "Error receiving status (0/5)"}));
    events.clear();
    showAllErrors = false;
    EXPECT_FALSE(query(InverterCommand::QPIGS).valid);
    EXPECT_FALSE(query(InverterCommand::QMOD).valid);
    EXPECT_TRUE(events.messages().empty());
}

TEST_F(InverterProtocolTest, BadRepliesAreRefusedWithTheirCounts) {
    ASSERT_EQ(sim.command("raw QPIGS 284e414b73730d"), "ok");  // "(NAK" with a good check
    EXPECT_FALSE(query(InverterCommand::QPIGS).valid);
    ASSERT_EQ(sim.command("badcrc on"), "ok");
    EXPECT_FALSE(query(InverterCommand::QPIGS).valid);
    EXPECT_FALSE(query(InverterCommand::QMOD).valid);
    EXPECT_FALSE(query(InverterCommand::QID).valid);
    ASSERT_EQ(sim.command("badcrc off"), "ok");
    ASSERT_EQ(sim.command("raw QMOD 284c"), "ok");  // a status reply cut short
    EXPECT_FALSE(query(InverterCommand::QMOD).valid);
    EXPECT_EQ(events.messages(),
              (std::vector<std::string>{
                  "Error receiving main values (7/7)", "Error receiving main values (110/110)",
                  "Error receiving status (5/5)", "Error receiving status (2/5)"}));
}

// A loopback plug sends each frame back as it went out, check and all.
TEST_F(InverterProtocolTest, AnEchoOfOurOwnCommandIsNoReply) {
    for (const auto command :
         {InverterCommand::QPIGS, InverterCommand::QMOD, InverterCommand::QID}) {
        const std::string text(commandText(command));
        ASSERT_EQ(sim.command("raw " + text + " " + testing::hexFromBytes(commandFrame(text))),
                  "ok");
        EXPECT_FALSE(query(command).valid) << text;
    }
    EXPECT_EQ(events.messages(), (std::vector<std::string>{"Error receiving main values (8/8)",
                                                           "Error receiving status (5/5)"}));
}

TEST_F(InverterProtocolTest, NothingIsSentWhileDisconnected) {
    connected = false;
    for (const auto command :
         {InverterCommand::QPIGS, InverterCommand::QMOD, InverterCommand::QID}) {
        const auto reply = protocol.QueryInverter(command);
        EXPECT_FALSE(reply.sent);
        EXPECT_FALSE(reply.valid);
    }
    EXPECT_TRUE(events.messages().empty());
}

TEST_F(InverterProtocolTest, AFailedSendWritesTheCommandsOwnLine) {
    comm.Close();
    for (const auto command :
         {InverterCommand::QPIGS, InverterCommand::QMOD, InverterCommand::QID}) {
        EXPECT_FALSE(protocol.QueryInverter(command).sent);
    }
    EXPECT_EQ(events.messages(),
              (std::vector<std::string>{"Error in send command.", "Error send data energy flow.",
                                        "Error send data check."}));
}

}  // namespace
}  // namespace brevanto
