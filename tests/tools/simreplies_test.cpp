// The simulator as a client meets it: a real process on a real
// pseudo-terminal, held to the replies captured from real units.
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

const Bytes kNak = {0x28, 0x4E, 0x41, 0x4B, 0x73, 0x73, 0x0D};

// Where the blanks between fields fall: the layout a parser relies on.
std::vector<size_t> blankOffsets(const Bytes& reply) {
    std::vector<size_t> offsets;
    for (size_t i = 0; i < reply.size(); ++i) {
        if (reply[i] == ' ') {
            offsets.push_back(i);
        }
    }
    return offsets;
}

// Frame start, payload, right check, CR: the payload rebuilt into a frame
// must give back the very same bytes.
void expectRightlyFramed(const Bytes& reply) {
    ASSERT_GE(reply.size(), 4u);
    const std::string payload(reply.begin() + 1, reply.end() - 3);
    EXPECT_EQ(replyFrame(payload), reply);
}

TEST(InverterSimReplies, AnswersLikeTheRealUnits) {
    SimProcess sim;
    SerialClient port(sim.linkPath());

    port.sendCommand("QMOD");
    EXPECT_EQ(port.readReply(), capturedReply("mode letter L").bytes);

    port.sendCommand("QID");
    const Bytes id = port.readReply();
    expectRightlyFramed(id);
    EXPECT_EQ(id.size(), capturedReply("serial number of 14 digits").bytes.size());
    EXPECT_TRUE(
        std::all_of(id.begin() + 1, id.end() - 3, [](uint8_t c) { return std::isdigit(c); }));

    port.sendCommand("QPIGS");
    const Bytes qpigs = port.readReply();
    expectRightlyFramed(qpigs);
    for (const char* real :
         {"standard 110-byte reply, AC input absent", "standard 110-byte reply, line present"}) {
        const Bytes captured = capturedReply(real).bytes;
        EXPECT_EQ(qpigs.size(), captured.size()) << real;
        EXPECT_EQ(blankOffsets(qpigs), blankOffsets(captured)) << real;
    }
}

TEST(InverterSimReplies, RefusesWhatItDoesNotUnderstand) {
    Bytes badCheck = commandFrame("QMOD");
    badCheck[5] ^= 0x01;
    Bytes lineNoise(600, 0x82);
    lineNoise.push_back(kCarriageReturn);
    const std::pair<const char*, Bytes> cases[] = {
        {"a command real units refuse", commandFrame("QBATCD")},
        {"a command in lower case", commandFrame("qmod")},
        {"a wrong check", badCheck},
        {"no check at all", {'Q', 'M', 'O', 'D', kCarriageReturn}},
        {"a bare CR", {kCarriageReturn}},
        {"long line noise, then CR", lineNoise},
    };
    SimProcess sim;
    SerialClient port(sim.linkPath());
    for (const auto& [what, frame] : cases) {
        port.send(frame);
        EXPECT_EQ(port.readReply(), kNak) << what;
    }
    EXPECT_EQ(kNak, capturedReply("refusal of a command").bytes);
    port.sendCommand("QMOD");
    EXPECT_EQ(port.readReply(), replyFrame("L")) << "the line did not recover";
}

TEST(InverterSimReplies, ServesAClientThatReconnects) {
    SimProcess sim;
    for (int connection = 0; connection < 3; ++connection) {
        SerialClient port(sim.linkPath());
        port.sendCommand("QMOD");
        EXPECT_EQ(port.readReply(), replyFrame("L")) << "connection " << connection;
    }
}

}  // namespace
}  // namespace brevanto::testing
