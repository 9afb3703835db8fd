// What a log viewer window shows of one table: its column titles, its rows,
// the window's caption and the count label. The table is the program's
// data, not the window's: the day's rows are collected here and written to
// the files from here. The viewer subscribes and mirrors it. Main thread.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/listeners.h"
#include "store/daytable.h"

namespace brevanto {

class LogTable {
public:
    // `designCaption` is the window's caption until the program sets one.
    LogTable(int columns, std::string designCaption);
    LogTable(const LogTable&) = delete;
    LogTable& operator=(const LogTable&) = delete;

    const DayTable& rows() const { return m_rows; }
    DayTable& rows() { return m_rows; }
    // One per column; fewer while the titles are not set.
    const std::vector<std::string>& titles() const { return m_titles; }
    const std::string& caption() const { return m_caption; }
    // "Lines = <n>".
    const std::string& countLabel() const { return m_countLabel; }

    // Titles beyond the column count are dropped.
    void setTitles(std::vector<std::string> titles);
    void setCaption(std::string caption);
    void setCount(std::size_t count);
    // A new last row with the caption and the count that come with it, told
    // once: a sample a second must not wake the viewer three times.
    void addRow(std::span<const std::string_view> cells, std::string_view caption,
                std::size_t count);
    // Every row gone, the column count kept; the count label stays.
    void empty();

    // Told after every change made through this class or after a caller's
    // direct change of the rows, which the caller reports with changed().
    [[nodiscard]] Subscription addChangeListener(std::function<void()> listener) {
        return m_listeners.add(std::move(listener));
    }
    void changed() const { m_listeners.notify(); }

private:
    DayTable m_rows;
    std::vector<std::string> m_titles;
    std::string m_caption;
    std::string m_countLabel = "Lines = 0";
    Listeners<> m_listeners;
};

}  // namespace brevanto
