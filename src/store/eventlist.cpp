#include "store/eventlist.h"

namespace brevanto {

void EventList::append(std::string line) {
    {
        std::lock_guard lock(m_mutex);
        m_lines.push_back(std::move(line));
    }
    changed();
}

void EventList::replaceAll(Lines lines) {
    {
        std::lock_guard lock(m_mutex);
        m_lines = std::move(lines);
    }
    changed();
}

void EventList::clear() {
    replaceAll({});
}

void EventList::edit(const std::function<void(Lines&)>& edit) {
    {
        std::lock_guard lock(m_mutex);
        edit(m_lines);
    }
    changed();
}

EventList::Lines EventList::snapshot(std::uint64_t* revision) const {
    std::lock_guard lock(m_mutex);
    if (revision != nullptr) {
        *revision = m_revision;
    }
    return m_lines;
}

std::size_t EventList::size() const {
    std::lock_guard lock(m_mutex);
    return m_lines.size();
}

void EventList::setChangeListener(std::function<void()> listener) {
    std::lock_guard lock(m_mutex);
    m_listener = std::move(listener);
}

void EventList::changed() {
    std::function<void()> listener;
    {
        std::lock_guard lock(m_mutex);
        ++m_revision;
        listener = m_listener;
    }
    if (listener) {
        listener();
    }
}

}  // namespace brevanto
