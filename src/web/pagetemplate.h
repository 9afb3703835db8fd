// A web page held as a fixed array of lines. The main thread overwrites whole
// lines while web threads render the page, so every access takes the page's
// one lock, held only to change a line or to copy the lines out.
#pragma once

#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "web/tpageweb.h"

namespace brevanto {

class PageTemplate {
public:
    explicit PageTemplate(std::size_t capacity);
    PageTemplate(const PageTemplate&) = delete;
    PageTemplate& operator=(const PageTemplate&) = delete;

    // Adds the next line while the page is built and returns its index.
    // Throws std::length_error when the page is full.
    std::size_t append(std::string_view text);

    // Replaces line `index` completely. A CR or LF in `text` becomes a blank:
    // a value must never split its line, or the page would grow lines.
    // Throws std::out_of_range beyond the last line.
    void setLine(std::size_t index, std::string_view text);
    // Replaces several lines under one hold of the lock, so that a page
    // rendered meanwhile shows all of them as they were or all as they
    // are now: one reading, never the stamp of one and values of another.
    // Throws std::out_of_range, changing nothing, beyond the last line.
    struct LineChange {
        std::size_t index;
        std::string text;
    };
    void setLines(std::vector<LineChange> changes);

    std::string line(std::size_t index) const;
    // Lines 0 to the last line, each followed by one LF.
    std::string render() const;
    std::size_t lineCount() const;
    std::size_t capacity() const { return m_lines.size(); }

private:
    std::vector<TPageWeb> snapshot() const;

    mutable std::mutex m_mutex;
    std::vector<TPageWeb> m_lines;
    std::size_t m_used = 0;
};

inline std::string RenderPage(const PageTemplate& page) {
    return page.render();
}

}  // namespace brevanto
