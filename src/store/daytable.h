// The rows of one daily table, kept compact: a day in test mode is 432,000
// rows, so a row is its cells' text joined by "," in large blocks of memory
// plus a few bytes of index, never one string per cell. Adding a row never
// moves the rows already there and allocates nothing but a new block now and
// then. Cells hold no "," and no control character (those are turned into
// blanks; bytes from 0x80 up are kept, the files are 8-bit text) and at most
// kMaxCellLength characters; a row has at most the table's column count of
// cells.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <initializer_list>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

namespace brevanto {

class DayTable {
public:
    static constexpr std::size_t kMaxCellLength = 39;

    // A negative column count counts as none.
    explicit DayTable(int columns);

    int columns() const { return m_columns; }
    std::size_t rowCount() const { return m_rows.size(); }
    // Empty for a cell the row does not have.
    std::string_view cell(std::size_t row, int column) const;
    // The row as its file line holds it, without the line end.
    std::string_view line(std::size_t row) const;

    // Cells beyond the column count are dropped; missing ones stay empty.
    void addRow(std::span<const std::string_view> cells);
    void addRow(std::initializer_list<std::string_view> cells);
    // A file line: split at "," (and nowhere else), then as addRow.
    void addLine(std::string_view line);
    // Every row gone; the column count may change.
    void clear(int columns);
    void clear() { clear(m_columns); }

    // Goes up by one at every clear(), so a view can tell a new table from
    // a grown one.
    std::uint64_t generation() const { return m_generation; }
    // Bytes held for the rows, index included: the memory figure per row.
    std::size_t bytesHeld() const;

private:
    struct RowRef {
        std::uint32_t block;
        std::uint32_t offset;
        std::uint32_t length;
    };
    std::string_view text(const RowRef& ref) const;
    // Room for the longest row the column count allows, at the end of the
    // last block; commitRow keeps the `length` bytes written there.
    char* reserveRow();
    void commitRow(std::size_t length);

    int m_columns;
    std::vector<std::unique_ptr<char[]>> m_blocks;
    std::size_t m_lastBlockSize = 0;
    std::size_t m_usedInLastBlock = 0;
    std::size_t m_blockBytes = 0;
    // A deque: growing never copies the index of a long day.
    std::deque<RowRef> m_rows;
    std::uint64_t m_generation = 0;
};

}  // namespace brevanto
