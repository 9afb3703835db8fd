#include "store/daylog.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include "platform/atomicfile.h"
#include "store/filebytes.h"

namespace brevanto {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
// Rows go to the file in chunks of this size rather than one write each.
constexpr std::size_t kWriteChunk = 1024 * 1024;

// Lines end in CR LF or LF; empty ones are skipped. True when bytes follow
// the last line end: a line torn by a power cut.
bool addLines(DayTable& rows, std::string_view text) {
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            return start < text.size();
        }
        std::string_view line = text.substr(start, end - start);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (!line.empty()) {
            rows.addLine(line);
        }
        start = end + 1;
    }
}

bool writeRows(const DayTable& rows, ByteSink& sink) {
    std::string chunk;
    chunk.reserve(kWriteChunk + 1024);
    for (std::size_t row = 0; row < rows.rowCount(); ++row) {
        chunk += rows.line(row);
        chunk += kLineEnd;
        if (chunk.size() >= kWriteChunk) {
            if (!sink.write(chunk)) {
                return false;
            }
            chunk.clear();
        }
    }
    return chunk.empty() || sink.write(chunk);
}

// No fsync: a sample a second must stay cheap, and the atomic rewrites at
// the day change and at the end are what make the file durable.
void appendLine(const std::filesystem::path& path, std::string_view line) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        return;
    }
    std::string bytes;
    bytes.reserve(line.size() + kLineEnd.size());
    bytes.append(line).append(kLineEnd);
    std::string_view rest = bytes;
    while (!rest.empty()) {
        const ssize_t written = ::write(fd, rest.data(), rest.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            break;
        }
        rest.remove_prefix(static_cast<std::size_t>(written));
    }
    ::close(fd);
}

}  // namespace

const DayLogKind& basicLogKind() {
    static const DayLogKind kind{
        16,
        {"LogVariables", LogTreeDepth::Day,
         "Cannot create Directory for Variables log file. Current directory will be used."},
        "BasicLog_",
        "EmergencyNameVariables",
        "VariablesList",
        "Error reading Variables Log."};
    return kind;
}

const DayLogKind& computedLogKind() {
    static const DayLogKind kind{
        7,
        {"LogComputed", LogTreeDepth::Day,
         "Cannot create Directory for Computed Variables log file. Current directory will be "
         "used."},
        "ComputedLog_",
        "EmergencyComputedNameVariables",
        "ComputedList"};
    return kind;
}

DayLog::DayLog(const DayLogKind& kind, const Services& services)
    : m_kind(kind), m_services(services), m_table(kind.columns, kind.designCaption) {}

void DayLog::Name(const LocalDate& today) {
    const std::string date = dayMonthYear(today);
    m_path = nameLogFile(m_services.root, m_kind.tree, today, m_kind.filePrefix + date + ".csv",
                         m_kind.fallbackPrefix + date + ".csv", m_services.prompts);
}

void DayLog::setHeader(std::span<const std::string> valueTitles) {
    std::vector<std::string> titles;
    titles.reserve(valueTitles.size() + 1);
    titles.emplace_back("date");
    titles.insert(titles.end(), valueTitles.begin(), valueTitles.end());
    m_table.setTitles(std::move(titles));
}

void DayLog::addRow(std::string_view time, std::string_view date,
                    std::span<const std::string> values, RowFile file) {
    // Every column gets a cell, so each line has the full count of fields.
    std::vector<std::string_view> cells(static_cast<std::size_t>(std::max(m_kind.columns, 1)));
    cells[0] = time;
    for (std::size_t i = 0; i < values.size() && i + 1 < cells.size(); ++i) {
        cells[i + 1] = values[i];
    }
    std::string caption = "Day = ";
    caption += date;
    m_table.addRow(cells, caption, m_table.rows().rowCount() + 1);
    if (file == RowFile::Append && !m_path.empty()) {
        const DayTable& rows = m_table.rows();
        appendLine(m_services.root / m_path, rows.line(rows.rowCount() - 1));
    }
}

bool DayLog::Write() {
    if (m_path.empty()) {
        return false;
    }
    const DayTable& rows = m_table.rows();
    return replaceFileAtomically(m_services.root / m_path,
                                 [&rows](ByteSink& sink) { return writeRows(rows, sink); });
}

bool DayLog::Load(std::span<const std::string> valueTitles) {
    m_table.empty();
    if (m_path.empty()) {
        return false;
    }
    // Only a regular file within the bound counts: a FIFO or a directory in
    // the file's place cannot hang Load.
    FileBytes file = readSmallFile(m_services.root / m_path, kMaxFileBytes);
    if (file.status == FileBytes::Status::Missing) {
        return false;
    }
    if (file.status == FileBytes::Status::Unreadable) {
        if (m_kind.readFailure != nullptr) {
            m_services.prompts.showWarning(m_kind.readFailure);
        }
        return false;
    }
    const bool torn = addLines(m_table.rows(), file.bytes);
    file = {};
    if (torn) {
        // Otherwise the next appended row would glue onto the torn bytes.
        Write();
    }
    setHeader(valueTitles);
    m_table.setCount(m_table.rows().rowCount() + 1);
    return true;
}

}  // namespace brevanto
