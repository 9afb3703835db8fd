#include "store/inidocument.h"

#include <algorithm>

#include <SimpleIni.h>

#include "store/textencoding.h"

namespace brevanto {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

enum class LineKind { Blank, Comment, Other };

LineKind kindOf(std::string_view line) {
    const auto first = line.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return LineKind::Blank;
    }
    return line[first] == ';' || line[first] == '#' ? LineKind::Comment : LineKind::Other;
}

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const auto end = text.find('\n');
        lines.push_back(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return lines;
}

std::string_view withoutCr(std::string_view line) {
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    return line;
}

// Lines from Windows programs come in the system code page; a line that is
// not UTF-8 is taken to be that, line by line, so that a hand-edited file
// mixing the two still reads.
std::string asUtf8Lines(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const std::string_view line : splitLines(text)) {
        const std::string_view bare = withoutCr(line);
        out += isValidUtf8(bare) ? std::string(bare) : utf8FromWindows1252(bare);
        out += '\n';
    }
    return out;
}

std::string joinLines(const std::vector<std::string_view>& lines, size_t from, size_t to) {
    std::string out;
    for (size_t i = from; i < to; ++i) {
        out += lines[i];
        out += '\n';
    }
    return out;
}

// Comment lines with the blank lines that only pad them taken off.
std::string commentBlock(const std::vector<std::string_view>& lines, size_t from, size_t to) {
    while (from < to && kindOf(lines[from]) == LineKind::Blank) {
        ++from;
    }
    while (to > from && kindOf(lines[to - 1]) == LineKind::Blank) {
        --to;
    }
    return joinLines(lines, from, to);
}

// At most one blank line in a row. In one pass, since a file of many
// sections has as many runs: a line feed is kept unless the two kept before
// it are line feeds too.
void collapseBlankRuns(std::string& text) {
    std::size_t kept = 0;
    for (const char c : text) {
        if (c == '\n' && kept >= 2 && text[kept - 1] == '\n' && text[kept - 2] == '\n') {
            continue;
        }
        text[kept++] = c;
    }
    text.resize(kept);
}

std::string oneLine(std::string_view value) {
    std::string out(value);
    std::replace(out.begin(), out.end(), '\r', ' ');
    std::replace(out.begin(), out.end(), '\n', ' ');
    return out;
}

}  // namespace

struct IniDocument::State {
    // Multi-key, so that a key given twice is read the first time as Windows
    // reads it, and replaced as a whole when written.
    CSimpleIniA ini{true, true, false};
    bool crlf = false;
    bool byteOrderMark = false;
    // SimpleIni drops comments that follow the last entry, and keeps only the
    // first block of a file that holds nothing but comments: those are kept here.
    std::string leadingComments;
    std::string trailingComments;

    State() { ini.SetSpaces(false); }

    void load(std::string_view bytes);
    std::string decode(std::string_view bytes);
};

std::string IniDocument::State::decode(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Mark)) {
        byteOrderMark = true;
        bytes.remove_prefix(kUtf8Mark.size());
    } else if (bytes.starts_with(kUtf16LeMark) || bytes.starts_with(kUtf16BeMark)) {
        // Written back as UTF-8 with its mark, which Windows editors also read.
        byteOrderMark = true;
        return utf8FromUtf16(bytes.substr(2), bytes.starts_with(kUtf16BeMark));
    }
    return std::string(bytes);
}

void IniDocument::State::load(std::string_view bytes) {
    const std::string decoded = decode(bytes);
    if (decoded.find('\0') != std::string::npos) {
        return;
    }
    const auto firstLineEnd = decoded.find('\n');
    crlf =
        firstLineEnd != std::string::npos && firstLineEnd > 0 && decoded[firstLineEnd - 1] == '\r';

    const std::string text = asUtf8Lines(decoded);
    const std::vector<std::string_view> lines = splitLines(text);
    size_t entriesEnd = lines.size();
    while (entriesEnd > 0 && kindOf(lines[entriesEnd - 1]) != LineKind::Other) {
        --entriesEnd;
    }
    if (entriesEnd == 0) {
        leadingComments = commentBlock(lines, 0, lines.size());
        return;
    }
    trailingComments = commentBlock(lines, entriesEnd, lines.size());
    const std::string entries = joinLines(lines, 0, entriesEnd);
    ini.LoadData(entries.data(), entries.size());
}

IniDocument::IniDocument() : m_state(std::make_unique<State>()) {}

IniDocument::IniDocument(std::string_view fileBytes) : IniDocument() {
    m_state->load(fileBytes);
}

IniDocument::~IniDocument() = default;
IniDocument::IniDocument(IniDocument&&) noexcept = default;
IniDocument& IniDocument::operator=(IniDocument&&) noexcept = default;

std::optional<std::string> IniDocument::value(std::string_view section,
                                              std::string_view key) const {
    const char* found =
        m_state->ini.GetValue(std::string(section).c_str(), std::string(key).c_str());
    if (found == nullptr) {
        return std::nullopt;
    }
    return std::string(found);
}

void IniDocument::setValue(std::string_view section, std::string_view key, std::string_view value) {
    m_state->ini.SetValue(std::string(section).c_str(), std::string(key).c_str(),
                          oneLine(value).c_str(), nullptr, true);
}

std::vector<std::pair<std::string, std::string>> IniDocument::entries(
    std::string_view section) const {
    using Entry = CSimpleIniA::Entry;
    std::vector<std::pair<Entry, std::string>> ordered;
    if (const auto* keys = m_state->ini.GetSection(std::string(section).c_str())) {
        for (const auto& [key, value] : *keys) {
            ordered.emplace_back(key, value);
        }
    }
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const auto& a, const auto& b) { return a.first.nOrder < b.first.nOrder; });
    std::vector<std::pair<std::string, std::string>> out;
    out.reserve(ordered.size());
    for (const auto& [key, value] : ordered) {
        out.emplace_back(key.pItem, value);
    }
    return out;
}

std::string IniDocument::text() const {
    std::string body;
    m_state->ini.Save(body, false);
    collapseBlankRuns(body);
    std::string text = m_state->byteOrderMark ? std::string(kUtf8Mark) : std::string();
    if (!m_state->leadingComments.empty()) {
        text += m_state->leadingComments;
        text += body.empty() ? "" : "\n";
    }
    text += body;
    if (!m_state->trailingComments.empty()) {
        text += text.empty() || text.ends_with("\n\n") ? "" : "\n";
        text += m_state->trailingComments;
    }
    if (!m_state->crlf) {
        return text;
    }
    std::string crlf;
    crlf.reserve(text.size() + text.size() / 16);
    for (const char c : text) {
        if (c == '\n') {
            crlf += '\r';
        }
        crlf += c;
    }
    return crlf;
}

}  // namespace brevanto
