#include "store/eventlog.h"

#include <fstream>
#include <sstream>

#include "platform/atomicfile.h"
#include "store/logtree.h"

namespace brevanto {

EventLog::EventLog(EventList& list, const Clock& clock, const DateTimeFormat& format,
                   Prompts& prompts, std::filesystem::path root)
    : m_list(list), m_clock(clock), m_format(format), m_prompts(prompts), m_root(std::move(root)) {}

void EventLog::WriteEvent(std::string_view message) {
    std::string line = "[" + m_format.formatDateTime(m_clock.now()) + "] ";
    line += message;
    line += ' ';
    m_list.append(std::move(line));
    if (m_messageListener) {
        m_messageListener(message);
    }
}

std::string EventLog::eventFileName(const LocalDate& date) {
    return "EventLog" + dayMonthYear(date) + ".txt";
}

std::string EventLog::fallbackFileName(const LocalDate& date) {
    return "EmergencyNameEvent" + dayMonthYear(date) + ".txt";
}

void EventLog::NameEventFile() {
    static constexpr LogTreeNames kTree{
        "LogEvent", LogTreeDepth::Day,
        "Cannot create Directory for Event log file. Current directory will be used."};
    const LocalDate today = m_clock.now().date;
    m_currentPath =
        nameLogFile(m_root, kTree, today, eventFileName(today), fallbackFileName(today), m_prompts);
}

bool EventLog::writeLines(const EventList::Lines& lines, ByteSink& sink) {
    for (const std::string& line : lines) {
        if (!sink.write(line) || !sink.write("\r\n")) {
            return false;
        }
    }
    return true;
}

bool EventLog::SaveEventLog() {
    if (m_currentPath.empty()) {
        return false;
    }
    std::uint64_t revision = 0;
    const EventList::Lines lines = m_list.snapshot(&revision);
    const bool saved = replaceFileAtomically(
        m_root / m_currentPath, [&lines](ByteSink& sink) { return writeLines(lines, sink); });
    if (saved) {
        m_savedRevision = revision;
    }
    return saved;
}

void EventLog::checkpoint(BackgroundFileWriter& writer) {
    std::uint64_t revision = 0;
    const EventList::Lines lines = m_list.snapshot(&revision);
    if (m_currentPath.empty() || m_savedRevision == revision) {
        return;
    }
    StringSink sink;
    writeLines(lines, sink);
    m_savedRevision = revision;
    writer.replace(m_root / m_currentPath, sink.bytes(),
                   [this, path = m_currentPath](bool written) {
                       if (written) {
                           m_reportedCheckpointFailure = false;
                       } else if (!m_reportedCheckpointFailure) {
                           m_reportedCheckpointFailure = true;
                           WriteEvent("Cannot save " + path.generic_string() + ".");
                       }
                   });
}

EventList::Lines EventLog::splitLines(std::string_view text) {
    EventList::Lines lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return lines;
}

bool EventLog::LoadEventLog() {
    if (m_currentPath.empty()) {
        return false;
    }
    const std::filesystem::path path = m_root / m_currentPath;
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return false;
    }
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    if (!file && !file.eof()) {
        return false;
    }
    m_list.replaceAll(splitLines(content.str()));
    return true;
}

}  // namespace brevanto
