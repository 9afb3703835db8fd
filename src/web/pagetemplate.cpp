#include "web/pagetemplate.h"

#include <stdexcept>

namespace brevanto {
namespace {

std::string asOneLine(std::string_view text) {
    std::string line(text);
    for (char& c : line) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return line;
}

std::string joined(const std::vector<TPageWeb>& lines) {
    std::size_t size = lines.size();
    for (const auto& line : lines) {
        size += line.text.size();
    }
    std::string page;
    page.reserve(size);
    for (const auto& line : lines) {
        page += line.text;
        page += '\n';
    }
    return page;
}

}  // namespace

PageTemplate::PageTemplate(std::size_t capacity) : m_lines(capacity) {}

std::size_t PageTemplate::append(std::string_view text) {
    std::lock_guard lock(m_mutex);
    if (m_used == m_lines.size()) {
        throw std::length_error("page template is full");
    }
    m_lines[m_used].text = text;
    return m_used++;
}

void PageTemplate::setLine(std::size_t index, std::string_view text) {
    std::string line = asOneLine(text);
    std::lock_guard lock(m_mutex);
    if (index >= m_used) {
        throw std::out_of_range("page template line out of range");
    }
    m_lines[index].text.swap(line);
}

void PageTemplate::setLines(std::vector<LineChange> changes) {
    for (LineChange& change : changes) {
        change.text = asOneLine(change.text);
    }
    std::lock_guard lock(m_mutex);
    for (const LineChange& change : changes) {
        if (change.index >= m_used) {
            throw std::out_of_range("page template line out of range");
        }
    }
    for (LineChange& change : changes) {
        m_lines[change.index].text.swap(change.text);
    }
}

std::string PageTemplate::line(std::size_t index) const {
    std::lock_guard lock(m_mutex);
    if (index >= m_used) {
        throw std::out_of_range("page template line out of range");
    }
    return m_lines[index].text;
}

std::string PageTemplate::render() const {
    return joined(snapshot());
}

std::size_t PageTemplate::lineCount() const {
    std::lock_guard lock(m_mutex);
    return m_used;
}

std::vector<TPageWeb> PageTemplate::snapshot() const {
    std::lock_guard lock(m_mutex);
    const auto used = static_cast<std::ptrdiff_t>(m_used);
    return {m_lines.begin(), m_lines.begin() + used};
}

}  // namespace brevanto
