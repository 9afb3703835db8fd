#include "link/framecrc.h"

#include <tuple>

#include <gtest/gtest.h>

#include "link/frames.h"

namespace brevanto {
namespace {

TEST(FrameCrc, ChecksOfTheThreeCommands) {
    EXPECT_EQ(FrameCrc("QPIGS"), 0xB7A9);
    EXPECT_EQ(FrameCrc("QMOD"), 0x49C1);
    EXPECT_EQ(FrameCrc("QID"), 0xD6EA);
}

TEST(FrameCrc, CommandFramesAreCommandCheckAndCr) {
    EXPECT_EQ(commandFrame("QPIGS"),
              (std::vector<uint8_t>{'Q', 'P', 'I', 'G', 'S', 0xB7, 0xA9, 0x0D}));
    EXPECT_EQ(commandFrame("QMOD").size(), 7u);
    EXPECT_EQ(commandFrame("QID").size(), 6u);
}

// Over every two-byte payload, each check byte differs from the plain
// CRC-16/XMODEM (computed here bit by bit) exactly where the plain byte is
// "(", CR or LF, and then by one; so a sent check byte is never one of those.
TEST(FrameCrc, BytesThatLookLikeFrameMarksAreRaised) {
    auto plainCrc = [](std::span<const uint8_t> bytes) {
        uint16_t crc = 0;
        for (const uint8_t b : bytes) {
            crc ^= static_cast<uint16_t>(b << 8);
            for (int bit = 0; bit < 8; ++bit) {
                crc = (crc & 0x8000) ? static_cast<uint16_t>((crc << 1) ^ 0x1021)
                                     : static_cast<uint16_t>(crc << 1);
            }
        }
        return crc;
    };
    int raisedLow = 0;
    int raisedHigh = 0;
    for (int a = 0; a < 256; ++a) {
        for (int b = 0; b < 256; ++b) {
            const uint8_t bytes[] = {static_cast<uint8_t>(a), static_cast<uint8_t>(b)};
            const uint16_t plain = plainCrc(bytes);
            const uint16_t sent = FrameCrc(bytes);
            for (const auto& [plainByte, sentByte, raised] :
                 {std::tuple{highByte(plain), highByte(sent), &raisedHigh},
                  std::tuple{lowByte(plain), lowByte(sent), &raisedLow}}) {
                const bool mark = plainByte == 0x28 || plainByte == 0x0D || plainByte == 0x0A;
                ASSERT_EQ(sentByte, mark ? plainByte + 1 : plainByte) << a << ' ' << b;
                *raised += mark ? 1 : 0;
            }
        }
    }
    EXPECT_GT(raisedLow, 0);
    EXPECT_GT(raisedHigh, 0);
}

TEST(FrameCrc, ACapturedReplyWithARaisedLowByte) {
    // The standby reply of a real unit: its plain check ends in 0x0D, which
    // the inverter sends as 0x0E.
    const std::string payload =
        "(238.6 49.9 000.0 00.0 0000 0000 000 153 23.80 000 050 0040 00.0 000.0 00.00 00000 "
        "00000000 00 00 00000 000";
    EXPECT_EQ(FrameCrc(payload), 0xF50E);
}

TEST(Frames, ReplyFramesCarryTheirCheck) {
    const std::vector<uint8_t> frame = replyFrame("B");
    EXPECT_EQ(frame, (std::vector<uint8_t>{'(', 'B', 0xE7, 0xC9, 0x0D}));
}

}  // namespace
}  // namespace brevanto
