// One of the two daily data logs, the basic variables or the computed
// values: the day's table and its file, Log/<kind>/<Y>/<M>/<D>/<name>.csv,
// one CR LF line per row, cells joined by ",". Each row reaches the file as
// it is added, so a power cut loses nothing already sampled; the whole file
// is also rewritten from the table (atomically) at the day change and at the
// program's end. At start-up the table is read back from today's file, so a
// restart continues the day. Main thread.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/localdatetime.h"
#include "platform/services.h"
#include "store/logtable.h"
#include "store/logtree.h"

namespace brevanto {

struct DayLogKind {
    int columns;                        // the time, then the values
    LogTreeNames tree;                  // "LogVariables", its message
    const char* filePrefix;             // "BasicLog_"
    const char* fallbackPrefix;         // "EmergencyNameVariables"
    const char* designCaption;          // "VariablesList"
    const char* readFailure = nullptr;  // a box and no event; none for the computed log
};

// 16 columns under Log/LogVariables; 7 under Log/LogComputed.
const DayLogKind& basicLogKind();
const DayLogKind& computedLogKind();

class DayLog {
public:
    // A day's file is about 43 MB in test mode; one past this bound is not
    // a day's file and is not read.
    static constexpr std::uintmax_t kMaxFileBytes = std::uintmax_t{1} << 30;

    // Files are taken relative to `services.root`.
    DayLog(const DayLogKind& kind, const Services& services);
    DayLog(const DayLog&) = delete;
    DayLog& operator=(const DayLog&) = delete;

    LogTable& table() { return m_table; }
    const LogTable& table() const { return m_table; }

    // NameBasicLog: today's file, with its directories made, or the kind's
    // emergency name in the root.
    void Name(const LocalDate& today);
    // Relative to the root; empty until Name has run.
    const std::filesystem::path& currentPath() const { return m_path; }

    // "date" and then the value titles.
    void setHeader(std::span<const std::string> valueTitles);
    // A sample: the time into the first cell and the values after it; the
    // caption becomes "Day = <date>" and the count "Lines = <rows>", told to
    // the listeners once. The row's line is appended to the current file at
    // once (nothing when no file is named or it cannot be opened), unless
    // the log is not kept on the disk: then the row stays in the table.
    enum class RowFile { Append, TableOnly };
    void addRow(std::string_view time, std::string_view date, std::span<const std::string> values,
                RowFile file = RowFile::Append);
    void empty() { m_table.empty(); }

    // The whole table replaces the current file. False when nothing could
    // be written; no message either way.
    bool Write();
    // Empties the table and reads the current file into it, line by line
    // with no cap: a line with too many cells keeps its first ones, a torn
    // last line left by a power cut is dropped (and the file rewritten
    // without it). Sets the titles from `valueTitles` and the count to the
    // rows plus the grid's empty last row. False for a missing file and,
    // with the kind's read failure box, for one that cannot be read.
    bool Load(std::span<const std::string> valueTitles);

private:
    const DayLogKind& m_kind;
    const Services& m_services;
    LogTable m_table;
    std::filesystem::path m_path;
};

}  // namespace brevanto
