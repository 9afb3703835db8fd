#include "store/logtable.h"

namespace brevanto {
namespace {

std::string countText(std::size_t count) {
    return "Lines = " + std::to_string(count);
}

}  // namespace

LogTable::LogTable(int columns, std::string designCaption)
    : m_rows(columns), m_caption(std::move(designCaption)) {}

void LogTable::setTitles(std::vector<std::string> titles) {
    if (titles.size() > static_cast<std::size_t>(m_rows.columns())) {
        titles.resize(static_cast<std::size_t>(m_rows.columns()));
    }
    if (titles != m_titles) {
        m_titles = std::move(titles);
        changed();
    }
}

void LogTable::setCaption(std::string caption) {
    if (caption != m_caption) {
        m_caption = std::move(caption);
        changed();
    }
}

void LogTable::setCount(std::size_t count) {
    m_countLabel = countText(count);
    changed();
}

void LogTable::addRow(std::span<const std::string_view> cells, std::string_view caption,
                      std::size_t count) {
    m_rows.addRow(cells);
    m_caption.assign(caption);
    m_countLabel = countText(count);
    changed();
}

void LogTable::empty() {
    m_rows.clear();
    changed();
}

}  // namespace brevanto
