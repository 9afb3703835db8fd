// The event journal's lines, as the window shows them and the web pages read
// and rewrite them. Reading and web threads reach it too, so every access
// goes through one lock, held only to copy or change the lines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace brevanto {

class EventList {
public:
    using Lines = std::vector<std::string>;

    void append(std::string line);
    void replaceAll(Lines lines);
    void clear();
    // Runs `edit` on the lines under the lock, for changes that must see
    // and rewrite the list in one step (a web visit line updated in place).
    void edit(const std::function<void(Lines&)>& edit);

    // `revision`, when asked for, goes up with every change, so a saver can
    // tell whether anything changed since its last copy.
    Lines snapshot(std::uint64_t* revision = nullptr) const;
    std::size_t size() const;

    // Called after every change, outside the lock, on the changing thread.
    void setChangeListener(std::function<void()> listener);

private:
    void changed();

    mutable std::mutex m_mutex;
    Lines m_lines;
    std::uint64_t m_revision = 0;
    std::function<void()> m_listener;
};

}  // namespace brevanto
