#include "store/daytable.h"

#include <algorithm>

namespace brevanto {
namespace {

// 256 KiB: a test-mode day of basic rows fills about 170 of them.
constexpr std::size_t kBlockSize = 256 * 1024;

bool isPlain(unsigned char c) {
    return c != ',' && c >= 0x20 && c != 0x7f;
}

// Writes what a cell may hold to `out`: not more than the longest cell, with
// a blank for a separator or a control character. Returns its length.
std::size_t putCell(char* out, std::string_view cell) {
    const std::size_t length = std::min(cell.size(), DayTable::kMaxCellLength);
    for (std::size_t i = 0; i < length; ++i) {
        const auto c = static_cast<unsigned char>(cell[i]);
        out[i] = isPlain(c) ? cell[i] : ' ';
    }
    return length;
}

}  // namespace

DayTable::DayTable(int columns) : m_columns(std::max(columns, 0)) {}

std::string_view DayTable::text(const RowRef& ref) const {
    return {m_blocks[ref.block].get() + ref.offset, ref.length};
}

std::string_view DayTable::line(std::size_t row) const {
    if (row >= m_rows.size()) {
        return {};
    }
    return text(m_rows[row]);
}

std::string_view DayTable::cell(std::size_t row, int column) const {
    if (row >= m_rows.size() || column < 0) {
        return {};
    }
    std::string_view rest = line(row);
    for (int c = 0; c < column; ++c) {
        const std::size_t comma = rest.find(',');
        if (comma == std::string_view::npos) {
            return {};
        }
        rest.remove_prefix(comma + 1);
    }
    return rest.substr(0, rest.find(','));
}

void DayTable::addRow(std::span<const std::string_view> cells) {
    const std::size_t count = std::min(cells.size(), static_cast<std::size_t>(m_columns));
    char* out = reserveRow();
    std::size_t length = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) {
            out[length++] = ',';
        }
        length += putCell(out + length, cells[i]);
    }
    commitRow(length);
}

void DayTable::addRow(std::initializer_list<std::string_view> cells) {
    addRow(std::span<const std::string_view>(cells.begin(), cells.size()));
}

void DayTable::addLine(std::string_view line) {
    char* out = reserveRow();
    std::size_t length = 0;
    for (int column = 0; column < m_columns; ++column) {
        if (column > 0) {
            out[length++] = ',';
        }
        const std::size_t comma = line.find(',');
        length += putCell(out + length, line.substr(0, comma));
        if (comma == std::string_view::npos) {
            break;
        }
        line.remove_prefix(comma + 1);
    }
    commitRow(length);
}

char* DayTable::reserveRow() {
    const std::size_t room = static_cast<std::size_t>(m_columns) * (kMaxCellLength + 1);
    if (m_blocks.empty() || m_usedInLastBlock + room > m_lastBlockSize) {
        // Not zeroed: every byte is written before it is read.
        m_lastBlockSize = std::max(kBlockSize, room);
        m_blocks.push_back(std::make_unique_for_overwrite<char[]>(m_lastBlockSize));
        m_blockBytes += m_lastBlockSize;
        m_usedInLastBlock = 0;
    }
    return m_blocks.back().get() + m_usedInLastBlock;
}

void DayTable::commitRow(std::size_t length) {
    m_rows.push_back({static_cast<std::uint32_t>(m_blocks.size() - 1),
                      static_cast<std::uint32_t>(m_usedInLastBlock),
                      static_cast<std::uint32_t>(length)});
    m_usedInLastBlock += length;
}

void DayTable::clear(int columns) {
    m_columns = std::max(columns, 0);
    m_blocks.clear();
    m_lastBlockSize = 0;
    m_usedInLastBlock = 0;
    m_blockBytes = 0;
    m_rows = std::deque<RowRef>();
    ++m_generation;
}

std::size_t DayTable::bytesHeld() const {
    return m_blockBytes + m_rows.size() * sizeof(RowRef);
}

}  // namespace brevanto
