#include "store/logtable.h"

namespace brevanto {

LogTable::LogTable(int columns, std::string designCaption)
    : m_rows(columns), m_caption(std::move(designCaption)) {}

void LogTable::setTitles(std::vector<std::string> titles) {
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
    m_countLabel = "Lines = " + std::to_string(count);
    changed();
}

void LogTable::empty() {
    m_rows.clear();
    changed();
}

}  // namespace brevanto
