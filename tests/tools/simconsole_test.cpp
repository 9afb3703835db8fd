// Making the simulated inverter misbehave from its console, as the link
// tests do to provoke every fault a real line shows.
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "link/frames.h"
#include "support/simprocess.h"
#include "tools/replyfixture.h"
#include "tools/serialclient.h"

namespace brevanto::testing {
namespace {

using Bytes = std::vector<uint8_t>;

struct SimAndPort {
    SimProcess sim;
    SerialClient port{sim.linkPath()};

    Bytes ask(std::string_view command) {
        port.sendCommand(command);
        return port.readReply();
    }
};

TEST(InverterSimConsole, ModeLetterIsWhatQmodReports) {
    SimAndPort s;
    for (const char letter : {'B', 'S', 'L'}) {
        EXPECT_EQ(s.sim.command(std::string("mode ") + letter), "ok");
        EXPECT_EQ(s.ask("QMOD"), capturedReply(std::string("mode letter ") + letter).bytes);
    }
}

TEST(InverterSimConsole, FixedQpigsPayloadStaysUntilAuto) {
    const std::string payload =
        "230.0 50.0 230.0 50.0 0322 0205 005 422 53.20 012 100 0056 0021 224.7 53.45 00000 "
        "00010110 00 00 00473 010";
    SimAndPort s;
    EXPECT_EQ(s.sim.command("qpigs " + payload), "ok");
    EXPECT_EQ(s.ask("QPIGS"), replyFrame(payload));
    EXPECT_EQ(s.ask("QPIGS"), replyFrame(payload));
    EXPECT_EQ(s.sim.command("qpigs short one"), "ok");
    EXPECT_EQ(s.ask("QPIGS"), replyFrame("short one"));
    EXPECT_EQ(s.sim.command("qpigs auto"), "ok");
    const Bytes generated = s.ask("QPIGS");
    EXPECT_EQ(generated.size(), 110u);
    EXPECT_NE(generated, replyFrame(payload));
}

// The faulty replies captured from real lines, replayed byte for byte.
TEST(InverterSimConsole, RawReplyGoesOutExactlyAndOnce) {
    SimAndPort s;
    for (const CapturedReply& captured : capturedReplies()) {
        if (captured.valid) {
            continue;
        }
        SCOPED_TRACE(captured.description);
        const std::string command = captured.command == "QBATCD" ? "QBATCD" : "QPIGS";
        EXPECT_EQ(s.sim.command("raw " + command + " " + hexFromBytes(captured.bytes)), "ok");
        s.port.sendCommand(command);
        EXPECT_EQ(s.port.readBytes(captured.bytes.size()), captured.bytes);
        const Bytes next = s.ask(command);
        EXPECT_EQ(next.size(), command == "QPIGS" ? 110u : 7u) << "the raw reply was not one-shot";
    }
}

TEST(InverterSimConsole, SilentLeavesCommandsUnanswered) {
    SimAndPort s;
    EXPECT_EQ(s.sim.command("silent on"), "ok");
    s.port.sendCommand("QMOD");
    s.port.sendCommand("QPIGS");
    s.port.send(commandFrame("QPIRI"));
    // The simulator deals with what is already on the line before it
    // takes the next console command, so these three have met silence.
    EXPECT_EQ(s.sim.command("silent off"), "ok");
    EXPECT_EQ(s.ask("QID"), replyFrame("92932004102453")) << "something was answered while silent";
    EXPECT_EQ(s.ask("QMOD"), replyFrame("L"));
}

TEST(InverterSimConsole, BadCrcSpoilsOnlyTheLowCheckByteOfEveryReply) {
    SimAndPort s;
    EXPECT_EQ(s.sim.command("badcrc on"), "ok");
    for (const char* command : {"QMOD", "QID", "QPIGS", "QPIRI"}) {
        SCOPED_TRACE(command);
        const Bytes spoilt = s.ask(command);
        ASSERT_GE(spoilt.size(), 5u);
        const Bytes right = replyFrame(std::string(spoilt.begin() + 1, spoilt.end() - 3));
        ASSERT_EQ(spoilt.size(), right.size());
        EXPECT_EQ(spoilt[spoilt.size() - 3], right[right.size() - 3]);
        EXPECT_NE(spoilt[spoilt.size() - 2], right[right.size() - 2]);
    }
    EXPECT_EQ(s.sim.command("badcrc off"), "ok");
    EXPECT_EQ(s.ask("QMOD"), replyFrame("L"));
}

TEST(InverterSimConsole, MistakesAreReportedAndChangeNothing) {
    SimAndPort s;
    for (const char* line : {"mode l", "qpigs", "raw QMOD 2", "silent maybe", "reboot"}) {
        EXPECT_TRUE(s.sim.command(line).starts_with("error ")) << line;
    }
    EXPECT_EQ(s.ask("QMOD"), replyFrame("L"));
    EXPECT_EQ(s.ask("QPIGS").size(), 110u);
}

// A pulled adapter: the link goes, the port a client holds hangs up, and
// plugging in again gives a new port behind the same link.
TEST(InverterSimConsole, UnplugTakesThePortAwayAndPlugBringsANewOne) {
    SimProcess sim;
    const int held = ::open(sim.linkPath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(held, 0);
    EXPECT_EQ(sim.command("unplug"), "ok");
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(sim.linkPath())));
    pollfd entry{held, POLLIN, 0};
    ASSERT_EQ(::poll(&entry, 1, 10000), 1);
    EXPECT_NE(entry.revents & POLLHUP, 0);
    char byte = 0;
    EXPECT_LE(::read(held, &byte, 1), 0) << "end of file or an error, as a vanished device";
    ::close(held);

    EXPECT_EQ(sim.command("plug"), "ok");
    SerialClient port(sim.linkPath());
    port.sendCommand("QID");
    EXPECT_EQ(port.readReply(), replyFrame("92932004102453"));
}

TEST(InverterSimConsole, BabbleSendsNoiseUnaskedUntilItStops) {
    SimAndPort s;
    EXPECT_EQ(s.sim.command("babble on"), "ok");
    EXPECT_EQ(s.port.readBytes(48).size(), 48u);
    EXPECT_EQ(s.sim.command("babble off"), "ok");
}

TEST(InverterSimConsole, ReportsNoEnergyUntilAClientHasConnected) {
    SimAndPort s;
    EXPECT_EQ(s.sim.command("report"), "energy none");
    s.ask("QID");
    s.ask("QPIGS");
    EXPECT_TRUE(s.sim.command("report").starts_with("energy 2")) << s.sim.command("report");
}

TEST(InverterSimConsole, QuitAnswersThenRemovesTheLinkAndExits) {
    SimProcess sim;
    EXPECT_EQ(sim.command("quit"), "ok");
    EXPECT_EQ(sim.waitForExit(), 0);
    EXPECT_FALSE(std::filesystem::is_symlink(sim.linkPath()));
}

}  // namespace
}  // namespace brevanto::testing
