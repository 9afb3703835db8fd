#include "store/energytotals.h"

#include <cstddef>
#include <string_view>
#include <system_error>
#include <vector>

#include "platform/atomicfile.h"
#include "platform/numberformat.h"
#include "platform/texttrim.h"
#include "store/filebytes.h"

namespace brevanto {
namespace {

constexpr const char* kReadFailure = "Error reading Total Energy Log.";
constexpr const char* kWriteFailure = "Error writing Total Energy Log.";
// The file is one line, but older runs may have left one per write: years of
// them fit many times over. Anything larger is not this file.
constexpr std::size_t kMaxFileBytes = 16 * 1024 * 1024;
// Two dates and two numbers; a longer line is not one of ours.
constexpr std::size_t kMaxLineLength = 1024;
// Enough for every start of a day with a broken file; past that, something
// else is wrong and the file stays where it is.
constexpr int kMaxAsideNames = 1000;

struct TotalsLine {
    std::string since;
    Totals totals;
};

std::string_view lastNonEmptyLine(std::string_view text) {
    for (;;) {
        const std::size_t end = text.find_last_of("\r\n");
        const std::string_view line = end == std::string_view::npos ? text : text.substr(end + 1);
        if (!trimmed(line).empty() || end == std::string_view::npos) {
            return line;
        }
        text = text.substr(0, end);
    }
}

bool looksLikeText(std::string_view line) {
    for (const char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && byte != '\t') || byte == 0x7f) {
            return false;
        }
    }
    return true;
}

std::vector<std::string_view> fields(std::string_view line) {
    std::vector<std::string_view> result;
    for (;;) {
        const std::size_t comma = line.find(',');
        result.push_back(line.substr(0, comma));
        if (comma == std::string_view::npos) {
            return result;
        }
        line.remove_prefix(comma + 1);
    }
}

std::optional<TotalsLine> parseTotals(std::string_view text) {
    const std::string_view line = lastNonEmptyLine(text);
    if (text.find('\0') != std::string_view::npos || trimmed(line).empty() ||
        line.size() > kMaxLineLength || !looksLikeText(line)) {
        return std::nullopt;
    }
    const std::vector<std::string_view> cells = fields(line);
    if (cells.size() < 4) {
        return std::nullopt;
    }
    const std::optional<double> solar = parseNumber(cells[2]);
    const std::optional<double> lineEnergy = parseNumber(cells[3]);
    if (!solar || !lineEnergy) {
        return std::nullopt;
    }
    return TotalsLine{std::string(cells[0]), {*solar, *lineEnergy}};
}

std::filesystem::path asideName(const std::filesystem::path& file, const LocalDate& today,
                                int attempt) {
    std::filesystem::path aside = file;
    aside += ".unreadable-" + std::to_string(today.year) + "-" + std::to_string(today.month) + "-" +
             std::to_string(today.day);
    if (attempt > 1) {
        aside += "-" + std::to_string(attempt);
    }
    return aside;
}

std::filesystem::file_type typeOf(const std::filesystem::path& path, std::error_code& error) {
    return std::filesystem::symlink_status(path, error).type();
}

bool replaceWith(const std::filesystem::path& path, std::string_view bytes) {
    return replaceFileAtomically(path, [bytes](ByteSink& sink) { return sink.write(bytes); });
}

}  // namespace

EnergyTotals::EnergyTotals(const Services& services, BackgroundFileWriter& writer)
    : m_services(services), m_writer(writer), m_checkpoints(services.events) {}

std::filesystem::path EnergyTotals::path() {
    return std::filesystem::path("Log") / "EnergyTotalSolar.csv";
}

std::optional<Totals> EnergyTotals::Read(const LocalDate& today) {
    m_writer.drain();
    const FileBytes file = readSmallFile(fullPath(), kMaxFileBytes);
    if (file.status == FileBytes::Status::Missing) {
        m_unreadable = false;
        m_since = m_services.format.formatDate(today);
        return std::nullopt;
    }
    const std::optional<TotalsLine> parsed =
        file.status == FileBytes::Status::Read ? parseTotals(file.bytes) : std::nullopt;
    if (!parsed) {
        readFailed();
        return std::nullopt;
    }
    m_unreadable = false;
    m_since = parsed->since;
    return parsed->totals;
}

void EnergyTotals::readFailed() {
    m_unreadable = true;
    m_services.prompts.showWarning(kReadFailure);
    m_services.events.WriteEvent(kReadFailure);
}

bool EnergyTotals::Write(const Totals& totals, const LocalDate& today) {
    // A checkpoint still queued would otherwise land after this write.
    m_writer.drain();
    if (!setUnreadableAside(today)) {
        m_services.prompts.showWarning(kWriteFailure);
        return false;
    }
    std::string since = sinceForWrite(today);
    std::string text = line(since, totals, today);
    if (!replaceWith(fullPath(), text)) {
        m_services.prompts.showWarning(kWriteFailure);
        return false;
    }
    m_since = std::move(since);
    m_checkpoints.written(std::move(text));
    return true;
}

void EnergyTotals::checkpoint(const Totals& totals, const LocalDate& today) {
    std::string since = sinceForWrite(today);
    std::string text = line(since, totals, today);
    if (!m_checkpoints.isNew(text)) {
        return;
    }
    const std::string failure = "Cannot save " + path().generic_string() + ".";
    if (!setUnreadableAside(today)) {
        m_checkpoints.failed(failure);
        return;
    }
    m_since = std::move(since);
    BackgroundFileWriter::Done done = m_checkpoints.handedOver(text, failure);
    m_writer.replace(fullPath(), std::move(text), std::move(done));
}

std::string EnergyTotals::sinceForWrite(const LocalDate& today) const {
    std::error_code error;
    // An unreadable file is about to go aside: the new one starts today.
    const bool fileExists =
        !m_unreadable && std::filesystem::exists(std::filesystem::status(fullPath(), error));
    return fileExists && !m_since.empty() ? m_since : m_services.format.formatDate(today);
}

std::string EnergyTotals::line(const std::string& since, const Totals& totals,
                               const LocalDate& today) const {
    return since + "," + m_services.format.formatDate(today) + "," + formatFixed(totals.solar, 3) +
           "," + formatFixed(totals.line, 3) + "\r\n";
}

bool EnergyTotals::setUnreadableAside(const LocalDate& today) {
    if (!m_unreadable) {
        return true;
    }
    const std::filesystem::path file = fullPath();
    std::error_code error;
    if (typeOf(file, error) == std::filesystem::file_type::not_found) {
        // Gone by other hands: nothing is left to keep.
        m_unreadable = false;
        return true;
    }
    for (int attempt = 1; attempt <= kMaxAsideNames; ++attempt) {
        const std::filesystem::path aside = asideName(file, today, attempt);
        const std::filesystem::file_type type = typeOf(aside, error);
        if (type == std::filesystem::file_type::not_found) {
            std::filesystem::rename(file, aside, error);
            m_unreadable = static_cast<bool>(error);
            return !m_unreadable;
        }
        if (type == std::filesystem::file_type::none) {
            return false;  // the name cannot even be looked at
        }
    }
    return false;
}

}  // namespace brevanto
