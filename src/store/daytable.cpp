#include "store/daytable.h"

#include <algorithm>
#include <cstring>

namespace brevanto {
namespace {

// 256 KiB: a test-mode day of basic rows fills about 170 of them.
constexpr std::size_t kBlockSize = 256 * 1024;

// What a cell may hold: no separator, no line end, no other control
// character, and not more than the longest cell.
void appendCell(std::string& joined, std::string_view cell) {
    const std::size_t length = std::min(cell.size(), DayTable::kMaxCellLength);
    for (std::size_t i = 0; i < length; ++i) {
        const auto c = static_cast<unsigned char>(cell[i]);
        joined += (c == ',' || c < 0x20 || c == 0x7f) ? ' ' : static_cast<char>(c);
    }
}

}  // namespace

DayTable::DayTable(int columns) : m_columns(columns) {}

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
    std::string_view rest = line(row);
    if (row >= m_rows.size() || column < 0) {
        return {};
    }
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
    std::string joined;
    const std::size_t count = std::min(cells.size(), static_cast<std::size_t>(m_columns));
    joined.reserve(count * 8);
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) {
            joined += ',';
        }
        appendCell(joined, cells[i]);
    }
    append(joined);
}

void DayTable::addRow(std::initializer_list<std::string_view> cells) {
    addRow(std::span<const std::string_view>(cells.begin(), cells.size()));
}

void DayTable::addLine(std::string_view line) {
    std::vector<std::string_view> cells;
    cells.reserve(static_cast<std::size_t>(m_columns));
    while (cells.size() < static_cast<std::size_t>(m_columns)) {
        const std::size_t comma = line.find(',');
        cells.push_back(line.substr(0, comma));
        if (comma == std::string_view::npos) {
            break;
        }
        line.remove_prefix(comma + 1);
    }
    addRow(cells);
}

void DayTable::append(std::string_view joined) {
    if (m_blocks.empty() || m_usedInLastBlock + joined.size() > kBlockSize) {
        // Not zeroed: every byte is written before it is read.
        m_blocks.emplace_back(new char[std::max(kBlockSize, joined.size())]);
        m_usedInLastBlock = 0;
    }
    std::memcpy(m_blocks.back().get() + m_usedInLastBlock, joined.data(), joined.size());
    m_rows.push_back({static_cast<std::uint32_t>(m_blocks.size() - 1),
                      static_cast<std::uint32_t>(m_usedInLastBlock),
                      static_cast<std::uint32_t>(joined.size())});
    m_usedInLastBlock += joined.size();
}

void DayTable::clear(int columns) {
    m_columns = columns;
    m_blocks.clear();
    m_usedInLastBlock = 0;
    m_rows = {};
    ++m_generation;
}

std::size_t DayTable::bytesHeld() const {
    return m_blocks.size() * kBlockSize + m_rows.size() * sizeof(RowRef);
}

}  // namespace brevanto
