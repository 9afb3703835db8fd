#include "link/replyfields.h"

#include <gtest/gtest.h>

#include "link/frames.h"
#include "support/fixtures.h"

namespace brevanto {
namespace {

std::vector<uint8_t> bytesOf(std::string_view text) {
    return {text.begin(), text.end()};
}

TEST(StripLeadingZeros, Table) {
    const std::pair<const char*, const char*> cases[] = {
        {"000", "0"},    {"0005", "5"}, {"050.0", "50.0"}, {"00.5", ".5"},
        {"000.0", ".0"}, {"0", "0"},    {"", ""},          {"230.2", "230.2"},
        {"00", "0"},     {".5", ".5"},  {"005.5", "5.5"},  {"10", "10"},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(StripLeadingZeros(text), expected) << text;
    }
}

TEST(CharText, DigitsAndPointStayEverythingElseIsZero) {
    EXPECT_EQ(CharText('7'), "7");
    EXPECT_EQ(CharText('.'), ".");
    for (const int other : {int{'-'}, int{'A'}, int{' '}, 0x0D, 0x00, 0xF6}) {
        EXPECT_EQ(CharText(static_cast<uint8_t>(other)), "0") << other;
    }
}

TEST(SplitReply, Table) {
    struct Case {
        const char* reply;
        std::vector<const char*> fields;  // from field 1 on
    };
    const Case cases[] = {
        {"(230.0 50.0", {"230.0", "50.0"}},
        {"(-05.5 1", {"005.5", "1"}},  // the sign is lost
        {"(1  2", {"1", "", "2"}},     // two blanks give an empty field
        {"(12 AB\r", {"12", "000"}},   // the last field carries the CR as "0"
        {"x1 2", {"1", "2"}},          // the first byte is never part of a field
    };
    for (const Case& c : cases) {
        ReplyFields fields;
        SplitReply(bytesOf(c.reply), fields);
        for (size_t k = 0; k < c.fields.size(); ++k) {
            EXPECT_EQ(fields[static_cast<int>(k) + 1], c.fields[k])
                << c.reply << " field " << k + 1;
        }
    }
}

TEST(SplitReply, FewerFieldsLeaveTheHigherOnesAsTheyWere) {
    ReplyFields fields;
    EXPECT_EQ(fields[1], "00");
    EXPECT_EQ(fields[29], "00");
    EXPECT_EQ(fields[30], "");
    SplitReply(bytesOf("(1 2 3 4"), fields);
    SplitReply(bytesOf("(9 8"), fields);
    EXPECT_EQ(fields[1], "9");
    EXPECT_EQ(fields[2], "8");
    EXPECT_EQ(fields[3], "3");
    EXPECT_EQ(fields[5], "00");
}

TEST(SplitReply, StopsAtAHundredFields) {
    std::string reply = "(";
    for (int k = 1; k <= 120; ++k) {
        reply += std::to_string(k) + " ";
    }
    ReplyFields fields;
    SplitReply(bytesOf(reply), fields);
    EXPECT_EQ(fields[100], "100");
}

TEST(SplitReply, CapturedRepliesSplitIntoTheirFields) {
    for (const auto& reply : testing::capturedReplies()) {
        if (!reply.valid || reply.command != "QPIGS") {
            continue;
        }
        ReplyFields fields;
        SplitReply(reply.bytes, fields);
        // Fields 1 to 16 are numbers with at most one point.
        for (int k = 1; k <= 16; ++k) {
            EXPECT_FALSE(fields[k].empty()) << reply.description << " field " << k;
            EXPECT_LE(std::count(fields[k].begin(), fields[k].end(), '.'), 1);
        }
        EXPECT_EQ(fields[17].size(), 8u) << reply.description;
    }
}

TEST(SplitReply, TheStandardReplyField) {
    const auto replies = testing::capturedReplies();
    ReplyFields fields;
    SplitReply(replies.at(1).bytes, fields);  // line present, solar charging
    const char* expected[] = {"238.3", "50.0",  "230.2", "50.0",  "0322",    "0205",
                              "005",   "422",   "53.20", "000",   "050",     "0056",
                              "02.1",  "224.7", "00.00", "00000", "00010110"};
    for (int k = 1; k <= 17; ++k) {
        EXPECT_EQ(fields[k], expected[k - 1]) << "field " << k;
    }
    EXPECT_EQ(StripLeadingZeros(fields[13]), "2.1");
}

TEST(ChargeFlags, FromTheStatusFieldOfCapturedReplies) {
    const auto replies = testing::capturedReplies();
    struct Case {
        size_t index;
        ChargeFlags flags;
    };
    const Case cases[] = {
        {0, {1, 1, 0}},  // AC input absent, battery charged from PV
        {1, {1, 1, 0}},  // line present, solar charging
        {2, {0, 0, 0}},  // standby
        {3, {0, 0, 0}},  // 24 fields, a 6 kW model
    };
    for (const Case& c : cases) {
        const auto& reply = replies.at(c.index);
        EXPECT_EQ(ReadChargeFlags(reply.bytes), c.flags) << reply.description;
        if (reply.bytes.size() == 110) {
            // The standard layout puts them at offsets 88 to 90.
            EXPECT_EQ(
                ReadChargeFlags(reply.bytes),
                (ChargeFlags{reply.bytes[88] - '0', reply.bytes[89] - '0', reply.bytes[90] - '0'}));
        }
    }
}

TEST(ChargeFlags, WideFieldsDoNotShiftThem) {
    // Firmware with 5-digit power fields moves the status field past offset 90.
    const auto reply = replyFrame(
        "230.0 50.0 230.0 50.0 01322 01205 005 422 53.20 012 100 0056 0021 224.7 53.45 00000 "
        "00010101 00 00 00473 010");
    EXPECT_EQ(ReadChargeFlags(reply), (ChargeFlags{1, 0, 1}));
}

TEST(ChargeFlags, MissingOrOddFlags) {
    EXPECT_EQ(ReadChargeFlags(replyFrame("1 2 3")), ChargeFlags{});
    EXPECT_EQ(ReadChargeFlags(replyFrame("1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 1")),
              (ChargeFlags{0, 0, 1}));
    EXPECT_EQ(ReadChargeFlags(replyFrame("1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 00002A. 0")),
              (ChargeFlags{2, 0, 0}));
    EXPECT_EQ(ReadChargeFlags({}), ChargeFlags{});
}

}  // namespace
}  // namespace brevanto
