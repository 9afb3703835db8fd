#include "acquisition/inverterreadings.h"

#include <gtest/gtest.h>

#include "link/frames.h"
#include "platform/testing/manualclock.h"
#include "support/fixtures.h"

namespace brevanto {
namespace {

using namespace std::chrono_literals;

Exchange goodReply(std::vector<uint8_t> bytes) {
    Exchange e;
    e.connected = true;
    e.reply.sent = true;
    e.reply.count = static_cast<int>(bytes.size());
    e.reply.bytes = std::move(bytes);
    e.reply.valid = replyIsValid(InverterCommand::QPIGS, e.reply.count, e.reply.bytes) ||
                    replyIsValid(InverterCommand::QMOD, e.reply.count, e.reply.bytes);
    return e;
}

Exchange failedRead() {
    Exchange e;
    e.connected = true;
    e.reply.sent = true;
    return e;
}

Exchange failedWrite() {
    Exchange e;
    e.connected = true;
    return e;
}

Exchange statusLetter(char letter) {
    return goodReply(replyFrame(std::string(1, letter)));
}

class InverterReadingsTest : public ::testing::Test {
protected:
    void readMain(const Exchange& exchange, bool testMode = false) {
        ReadMainValues(readings, exchange, {testMode, 0, &timeBase, random});
    }

    testing::ManualClock clock;
    ReadTimeBase timeBase{clock};
    RandomInteger random = [](int low, int high) { return (low + high) / 2; };
    InverterReadings readings;
};

TEST_F(InverterReadingsTest, AGoodReplySetsTheVariablesFlagsAndElapsedTime) {
    timeBase.restart();
    clock.advance(5s);
    readMain(goodReply(testing::capturedReplies().at(1).bytes));
    EXPECT_TRUE(readings.MainValuesValid);
    const char* expected[] = {"",  "238.3", "50.0",  "224.7", "2.1", "53.20", "50", "0",
                              "0", "50.0",  "230.2", "322",   "205", "5",     "56", "422"};
    for (int number = 1; number <= kBasicVariableCount; ++number) {
        EXPECT_EQ(readings.basic[static_cast<size_t>(number)], expected[number]) << number;
    }
    EXPECT_EQ(readings.SccBatteryVoltage, ".00");
    EXPECT_EQ(readings.chargeFlags, (ChargeFlags{1, 1, 0}));
    EXPECT_EQ(readings.ElapsedSeconds, 5);
    EXPECT_TRUE(readings.line.LinePresent);
}

TEST_F(InverterReadingsTest, BadRepliesKeepTheLastGoodValues) {
    readMain(goodReply(testing::capturedReplies().at(1).bytes));
    const BasicVariables before = readings.basic;
    for (const Exchange& bad : {failedRead(), failedWrite()}) {
        readMain(bad);
        EXPECT_FALSE(readings.MainValuesValid);
        EXPECT_EQ(readings.basic, before);
    }
}

TEST_F(InverterReadingsTest, AFailedWriteSkipsTheLineUpdateButAFailedReadDoesNot) {
    readMain(goodReply(replyFrame("000.0 00.0")));  // the line is gone
    EXPECT_EQ(readings.line.LineTrend, -1);
    readMain(failedWrite());
    EXPECT_EQ(readings.line.LineTrend, -1);
    readMain(failedRead());
    EXPECT_EQ(readings.line.LineTrend, -1);  // the loss is re-applied
    Exchange disconnected;
    readMain(disconnected);
    EXPECT_EQ(readings.line.LineTrend, -1);
}

TEST_F(InverterReadingsTest, TestModeDrawsEveryReadingFromItsRange) {
    std::vector<std::pair<int, int>> asked;
    random = [&asked](int low, int high) {
        asked.emplace_back(low, high);
        return high;
    };
    readMain({}, true);
    EXPECT_TRUE(readings.MainValuesValid);
    EXPECT_EQ(asked.size(), 16u);
    EXPECT_EQ(readings.basic[kAcVoltage], "239");
    EXPECT_EQ(readings.basic[15], "409");
    EXPECT_EQ(readings.SccBatteryVoltage, "54");
    EXPECT_EQ(readings.chargeFlags, ChargeFlags{});
    ReadStatus(readings, {}, true);
    EXPECT_EQ(readings.state.InverterMode, "Test Mode");
    EXPECT_EQ(readings.state.EnergySource, "Test Load");
    EXPECT_EQ(readings.state.BatteryState, "Test Battery");
    EXPECT_TRUE(readings.StatusValid);
}

TEST_F(InverterReadingsTest, BatteryStateAndEnergySource) {
    struct Case {
        ChargeFlags flags;
        const char* chargeA;
        const char* pvA;
        const char* dischargeA;
        char letter;
        const char* battery;
        const char* source;
    };
    const Case cases[] = {
        {{1, 1, 0}, "0", "0", "3", 'B', "Solar charge", "Source:Battery"},
        {{0, 0, 0}, "0", "0", "3", 'L', "Discharging", "Source:Battery(1)"},
        {{0, 0, 0}, "0", "0", "0", 'L', "Stand-by", "Source:Line(1)"},
        {{1, 0, 1}, "0", "0", "0", 'B', "Line charge", "Source:Battery"},
        {{1, 1, 1}, "0", "5", "0", 'B', "Line-solar charge", "Source:Batt./Solar"},
        {{0, 1, 0}, "4", "10", "0", 'P', "Not used", "Source:Solar"},
        {{0, 1, 0}, "4", "4", "0", 'P', "Not used", "Source:Line(2)"},
        {{2, 0, 0}, "", "", "", 'S', "Not used", "Source:Line(2)"},  // no readings yet
    };
    for (const Case& c : cases) {
        InverterReadings r;
        r.chargeFlags = c.flags;
        r.basic[kChargingCurrent] = c.chargeA;
        r.basic[kPvInputCurrent] = c.pvA;
        r.basic[kDischargeCurrent] = c.dischargeA;
        ReadStatus(r, statusLetter(c.letter), false);
        EXPECT_TRUE(r.StatusValid);
        EXPECT_EQ(r.state.BatteryState, c.battery) << c.letter << c.battery;
        EXPECT_EQ(r.state.EnergySource, c.source) << c.letter << c.battery;
    }
}

TEST_F(InverterReadingsTest, ModeNamesAndSwitches) {
    const std::pair<char, const char*> names[] = {
        {'L', "Line (bypass)"}, {'B', "Battery"},      {'P', "Power ON"}, {'S', "Stand By"},
        {'F', "Fault"},         {'H', "Power Saving"}, {'X', "Unknown"},
    };
    for (const auto& [letter, name] : names) {
        ReadStatus(readings, statusLetter(letter), false);
        EXPECT_EQ(readings.state.InverterMode, name);
    }

    struct Switch {
        std::vector<Exchange> statuses;
        int modeSwitch;
    };
    const Switch switches[] = {
        {{statusLetter('L'), statusLetter('B')}, 1},
        {{statusLetter('B'), statusLetter('L')}, 2},
        {{statusLetter('B'), failedRead(), statusLetter('L')}, 0},  // across a failed read
        {{statusLetter('X'), statusLetter('L')}, 0},
    };
    for (const Switch& s : switches) {
        InverterReadings r;
        for (const Exchange& status : s.statuses) {
            ReadStatus(r, status, false);
        }
        EXPECT_EQ(r.state.ModeSwitch, s.modeSwitch);
    }
}

TEST_F(InverterReadingsTest, AFailedStatusReadLeavesUnknown) {
    ReadStatus(readings, statusLetter('L'), false);
    ReadStatus(readings, failedRead(), false);
    EXPECT_FALSE(readings.StatusValid);
    EXPECT_EQ(readings.state.InverterMode, "Unknown");
    EXPECT_EQ(readings.state.EnergySource, "Unknown");
}

}  // namespace
}  // namespace brevanto
