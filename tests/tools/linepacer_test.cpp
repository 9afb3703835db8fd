#include "inverter-sim/linepacer.h"

#include <gtest/gtest.h>

namespace brevanto::sim {
namespace {

using std::chrono::milliseconds;
using std::chrono::nanoseconds;
using std::chrono::seconds;

const SteadyTime kStart = SteadyTime{} + seconds(1000);

TEST(InverterSimPacer, ByteTimesAreExactForAnyCount) {
    EXPECT_EQ(byteTimes(0), nanoseconds(0));
    EXPECT_EQ(byteTimes(1), nanoseconds(4'166'666));
    EXPECT_EQ(byteTimes(110), nanoseconds(458'333'333));
    EXPECT_EQ(byteTimes(240), seconds(1));
    EXPECT_EQ(byteTimes(240 * 3600 + 1), seconds(3600) + nanoseconds(4'166'666));
}

TEST(InverterSimPacer, CommandCountsOnceItsBytesCouldHaveCrossed) {
    ReceiveLine line(true);
    SteadyTime last{};
    for (int i = 0; i < 7; ++i) {
        last = line.arrived(kStart);
    }
    EXPECT_EQ(last, kStart + byteTimes(7));
    // Bytes read while the line is still busy queue behind the others.
    EXPECT_EQ(line.arrived(kStart + milliseconds(1)), kStart + byteTimes(8));
    // Once it has gone quiet, a byte takes one byte time from its reading.
    EXPECT_EQ(line.arrived(kStart + seconds(1)), kStart + seconds(1) + byteTimes(1));
}

TEST(InverterSimPacer, ReplyBytesLeaveOnAnAbsoluteSchedule) {
    TransmitLine line(true);
    line.send(std::vector<uint8_t>(110, 0x30), kStart);
    line.send(std::vector<uint8_t>(5, 0x31), kStart);
    // A byte is handed over once it has fully crossed the line.
    EXPECT_EQ(line.nextDue(), kStart + byteTimes(1));
    EXPECT_TRUE(line.due(kStart + byteTimes(1) - nanoseconds(1)).empty());
    EXPECT_EQ(line.due(kStart + byteTimes(1)).size(), 1u);
    line.written(1);
    EXPECT_EQ(line.nextDue(), kStart + byteTimes(2));
    // Waking late sends what is overdue at once and keeps the schedule:
    // the next byte is due when it always was, not a byte time from now.
    EXPECT_EQ(line.due(kStart + byteTimes(51)).size(), 50u);
    line.written(50);
    EXPECT_EQ(line.nextDue(), kStart + byteTimes(52));
    line.written(59);
    // The second reply starts on the line once the first has gone out.
    EXPECT_EQ(line.nextDue(), kStart + byteTimes(110) + byteTimes(1));
    line.written(5);
    EXPECT_TRUE(line.idle());
}

TEST(InverterSimPacer, UnpacedRepliesAreDueWhole) {
    ReceiveLine receive(false);
    EXPECT_EQ(receive.arrived(kStart), kStart);
    EXPECT_EQ(receive.arrived(kStart), kStart);
    TransmitLine transmit(false);
    transmit.send(std::vector<uint8_t>(110, 0x30), kStart);
    EXPECT_EQ(transmit.due(kStart).size(), 110u);
}

}  // namespace
}  // namespace brevanto::sim
