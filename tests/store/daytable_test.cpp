#include "store/daytable.h"

#include <string>

#include <gtest/gtest.h>

namespace brevanto {
namespace {

using namespace std::string_literals;

TEST(DayTableTest, CapsEachCellAndBlanksWhatWouldBreakTheLine) {
    struct Case {
        std::string cell;
        std::string kept;
    };
    const Case cases[] = {
        {std::string(39, 'a'), std::string(39, 'a')},
        {std::string(40, 'b'), std::string(39, 'b')},
        {"1,5", "1 5"},
        {"a\r\nb\tc", "a  b c"},
        {"\0\x01\x1f\x7f"s, "    "},
        {"25\xb0"
         "C",
         "25\xb0"
         "C"},
        {"2:02:11 PM", "2:02:11 PM"},
    };
    for (const Case& c : cases) {
        DayTable table(2);
        table.addRow({c.cell, "next"});
        EXPECT_EQ(table.cell(0, 0), c.kept) << c.cell;
        EXPECT_EQ(table.cell(0, 1), "next") << c.cell;
        EXPECT_EQ(table.line(0), c.kept + ",next") << c.cell;
    }
}

TEST(DayTableTest, KeepsNoMoreCellsThanColumns) {
    DayTable table(3);
    table.addRow({"a", "b", "c", "d"});
    table.addLine("e,f,g,h,i");
    table.addRow({"j"});
    table.addLine("k");
    ASSERT_EQ(table.rowCount(), 4u);
    EXPECT_EQ(table.line(0), "a,b,c");
    EXPECT_EQ(table.line(1), "e,f,g");
    EXPECT_EQ(table.cell(1, 3), "");
    EXPECT_EQ(table.cell(2, 0), "j");
    EXPECT_EQ(table.cell(2, 1), "");
    EXPECT_EQ(table.line(3), "k");
    EXPECT_EQ(table.cell(4, 0), "");
    EXPECT_EQ(table.line(4), "");
}

// A long day spans many blocks; a row once added stays where it is, so a
// view may hold on to its text.
TEST(DayTableTest, RowsStayPutAcrossBlocks) {
    DayTable table(16);
    const std::string widest = std::string(39, 'w');
    std::vector<std::string_view> cells(16, widest);
    table.addRow(cells);
    const std::string_view first = table.line(0);
    for (int row = 1; row < 2000; ++row) {
        const std::string number = std::to_string(row);
        cells[0] = number;
        table.addRow(cells);
    }
    ASSERT_EQ(table.rowCount(), 2000u);
    EXPECT_EQ(table.line(0).data(), first.data());
    EXPECT_EQ(first.size(), 16u * 40u - 1u);
    for (std::size_t row = 1; row < table.rowCount(); ++row) {
        ASSERT_EQ(table.cell(row, 0), std::to_string(row));
        ASSERT_EQ(table.cell(row, 15), widest);
    }
    EXPECT_GT(table.bytesHeld(), 2000u * first.size());
}

TEST(DayTableTest, ClearEmptiesAndBumpsTheGeneration) {
    DayTable table(3);
    table.addRow({"a", "b", "c"});
    const auto before = table.generation();
    table.clear();
    EXPECT_EQ(table.rowCount(), 0u);
    EXPECT_EQ(table.bytesHeld(), 0u);
    EXPECT_EQ(table.columns(), 3);
    EXPECT_EQ(table.generation(), before + 1);
    table.clear(5);
    EXPECT_EQ(table.columns(), 5);
    EXPECT_EQ(table.generation(), before + 2);
    table.addLine("1,2,3,4,5,6");
    EXPECT_EQ(table.line(0), "1,2,3,4,5");
}

}  // namespace
}  // namespace brevanto
