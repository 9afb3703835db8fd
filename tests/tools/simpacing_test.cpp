// The simulator at the line's real speed. Only lower bounds are checked:
// the physics says how soon a reply can possibly be complete, while how
// late it is depends on the machine.
#include <chrono>
#include <string>

#include <gtest/gtest.h>

#include "inverter-sim/linepacer.h"
#include "link/frames.h"
#include "support/simprocess.h"
#include "tools/serialclient.h"

namespace brevanto::testing {
namespace {

using Clock = std::chrono::steady_clock;

TEST(InverterSimPacing, ExchangeTakesAtLeastItsBytesOnTheLine) {
    struct Case {
        const char* command;
        size_t replyBytes;
    };
    const Case cases[] = {{"QMOD", 5}, {"QID", 18}, {"QPIGS", 110}};
    SimProcess sim({.pacing = true});
    SerialClient port(sim.linkPath());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        const size_t commandBytes = commandFrame(c.command).size();
        const Clock::time_point sent = Clock::now();
        port.sendCommand(c.command);
        EXPECT_EQ(port.readReply().size(), c.replyBytes);
        // Every byte of the command and of the reply must cross the line.
        const auto least = sim::byteTimes(commandBytes + c.replyBytes);
        EXPECT_GE(port.lastByteAt() - sent, least);
    }
}

// Whatever the console changes while a reply is on its way applies from the
// next reply: the reply going out stays the one that was decided on.
TEST(InverterSimPacing, ConsoleChangesDuringAReplyApplyToTheNextOne) {
    SimProcess sim({.pacing = true});
    SerialClient port(sim.linkPath());
    port.sendCommand("QPIGS");
    const std::vector<uint8_t> start = port.readBytes(1);
    EXPECT_EQ(sim.command("qpigs fixed"), "ok");
    EXPECT_EQ(sim.command("badcrc on"), "ok");
    std::vector<uint8_t> reply = port.readReply();
    reply.insert(reply.begin(), start.begin(), start.end());
    ASSERT_EQ(reply.size(), 110u);
    EXPECT_EQ(replyFrame(std::string(reply.begin() + 1, reply.end() - 3)), reply);
    EXPECT_EQ(sim.command("badcrc off"), "ok");
    port.sendCommand("QPIGS");
    EXPECT_EQ(port.readReply(), replyFrame("fixed"));
}

}  // namespace
}  // namespace brevanto::testing
