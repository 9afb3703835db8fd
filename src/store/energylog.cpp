#include "store/energylog.h"

#include <cstddef>
#include <string_view>
#include <vector>

#include "platform/atomicfile.h"
#include "platform/numberformat.h"
#include "store/filebytes.h"
#include "store/logtree.h"

namespace brevanto {
namespace {

constexpr const char* kReadFailure = "Error reading Energy log file.";
constexpr const char* kWriteFailure = "Error writing Energy Log.";
// A month is a few dozen lines, a few more for every restart; a file many
// times larger is not one of ours.
constexpr std::size_t kMaxFileBytes = 16 * 1024 * 1024;

// The text up to its last line end. What follows it is a line torn by a
// power cut during an append: it holds no day's end worth keeping. A line
// torn between its CR and its LF is whole and gets its LF back.
std::string wholeLines(std::string_view text) {
    const std::size_t end = text.find_last_of("\r\n");
    if (end == std::string_view::npos) {
        return {};
    }
    std::string lines(text.substr(0, end + 1));
    if (lines.back() == '\r') {
        lines += '\n';
    }
    return lines;
}

std::vector<std::string_view> nonEmptyLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find_first_of("\r\n");
        if (end > 0) {
            lines.push_back(text.substr(0, end));
        }
        if (end == std::string_view::npos) {
            break;
        }
        text.remove_prefix(end + 1);
    }
    return lines;
}

bool replaceWith(const std::filesystem::path& path, std::string_view bytes) {
    return replaceFileAtomically(path, [bytes](ByteSink& sink) { return sink.write(bytes); });
}

}  // namespace

EnergyLog::EnergyLog(const Services& services, BackgroundFileWriter& writer)
    : m_services(services),
      m_writer(writer),
      m_table(kColumns, "ListEnergy"),
      m_checkpoints(services.events) {}

std::string EnergyLog::Name(const LocalDate& today) {
    static constexpr LogTreeNames kTree{
        "LogEnergy", LogTreeDepth::Month,
        "Cannot create Directory for Energy log file. Current directory will be used."};
    // The file's content as this run's last checkpoint left it.
    m_writer.drain();
    const std::string month = monthYear(today);
    m_path = nameLogFile(m_services.root, kTree, today, "EnergyLog_" + month + ".csv",
                         "EmergencyNameEnergy" + month + ".csv", m_services.prompts);
    m_month = std::to_string(today.month);
    const FileBytes file = readSmallFile(m_services.root / m_path, kMaxFileBytes);
    m_unreadable = file.status == FileBytes::Status::Unreadable;
    m_kept = wholeLines(file.bytes);
    return m_month;
}

EnergyLog::Loaded EnergyLog::Load(const LocalDate& today) {
    if (m_path.empty()) {
        return {};
    }
    m_writer.drain();
    const FileBytes file = readSmallFile(m_services.root / m_path, kMaxFileBytes);
    if (file.status == FileBytes::Status::Missing) {
        return {};
    }
    if (file.status == FileBytes::Status::Unreadable) {
        return readFailed();
    }
    const std::string lines = wholeLines(file.bytes);
    DayTable& rows = m_table.rows();
    rows.clear();
    for (const std::string_view line : nonEmptyLines(lines)) {
        rows.addLine(line);
    }
    m_table.setTitles({"Date", "Sol. Energy", "Line. Energy (app)", "Line Energy (act)",
                       "Total Solar Energy", "Total Line Energy"});
    m_table.setCaption(caption());
    m_table.setCount(rows.rowCount() + 1);
    return restoreToday(today);
}

EnergyLog::Loaded EnergyLog::restoreToday(const LocalDate& today) {
    const DayTable& rows = m_table.rows();
    if (rows.rowCount() == 0) {
        return {true, {}};
    }
    const std::size_t last = rows.rowCount() - 1;
    const std::optional<LocalDate> date = m_services.format.parseDate(rows.cell(last, 0));
    if (!date) {
        return readFailed();
    }
    if (*date != today || rows.cell(last, 1).empty()) {
        return {true, {}};
    }
    const std::optional<double> solar = parseNumber(rows.cell(last, 1));
    const std::optional<double> lineApp = parseNumber(rows.cell(last, 2));
    const std::optional<double> lineAct = parseNumber(rows.cell(last, 3));
    if (!solar || !lineApp || !lineAct) {
        return readFailed();
    }
    return {true, DayEnergy{*solar, *lineApp, *lineAct}};
}

EnergyLog::Loaded EnergyLog::readFailed() {
    m_services.prompts.showWarning(kReadFailure);
    m_services.events.WriteEvent(kReadFailure);
    return {};
}

bool EnergyLog::Write(const EnergyLine& line) {
    // A checkpoint still queued would otherwise land after this write.
    m_writer.drain();
    const std::string text = formatLine(line);
    const bool written =
        !m_path.empty() && !m_unreadable && replaceWith(m_services.root / m_path, m_kept + text);
    m_kept += text;
    if (!written) {
        m_services.prompts.showWarning(kWriteFailure);
    }
    return written;
}

void EnergyLog::checkpoint(const EnergyLine& line) {
    if (m_path.empty()) {
        return;
    }
    std::string text = formatLine(line);
    if (!m_checkpoints.isNew(text)) {
        return;
    }
    const std::string failure = "Cannot save " + m_path.generic_string() + ".";
    if (m_unreadable) {
        m_checkpoints.failed(failure);
        return;
    }
    std::string bytes = m_kept + text;
    BackgroundFileWriter::Done done = m_checkpoints.handedOver(std::move(text), failure);
    m_writer.replace(m_services.root / m_path, std::move(bytes), std::move(done));
}

void EnergyLog::empty() {
    m_table.empty();
    m_table.setCaption(caption());
}

std::string EnergyLog::caption() const {
    return "Month = " + m_month + " (updated at midnight)";
}

std::string EnergyLog::formatLine(const EnergyLine& line) const {
    std::string text = m_services.format.formatDate(line.date);
    for (const double value :
         {line.day.solar, line.day.lineApp, line.day.lineAct, line.totalSolar, line.totalLine}) {
        text += ',';
        text += formatFixed(value, 3);
    }
    text += "\r\n";
    return text;
}

}  // namespace brevanto
