// An INI file in memory, read the way Windows programs write them and written
// back without losing what the program does not know: sections, keys and
// comments it has no use for, the file's line ends and its byte-order mark.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace brevanto {

class IniDocument {
public:
    // An empty document, written with LF line ends and no byte-order mark.
    IniDocument();
    // Never fails: text that is not INI simply yields no entries. Bytes
    // holding a NUL are not a text file at all and are dropped whole.
    explicit IniDocument(std::string_view fileBytes);
    ~IniDocument();
    IniDocument(IniDocument&&) noexcept;
    IniDocument& operator=(IniDocument&&) noexcept;

    // Sections and keys are found whatever their case; blanks around "="
    // are not part of key or value. A key given twice counts the first time.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    // The key's every occurrence becomes one, where the first stood; a new
    // key goes to the end of its section, a new section to the end of the file.
    // CR and LF in the value become blanks, so a value never spans lines.
    void setValue(std::string_view section, std::string_view key, std::string_view value);
    // A section's keys and values in file order (empty if there is none).
    std::vector<std::pair<std::string, std::string>> entries(std::string_view section) const;

    // The whole file: "key=value" lines in UTF-8, CR LF line ends if the file
    // read had them, and a byte-order mark if it had one.
    std::string text() const;

private:
    struct State;
    std::unique_ptr<State> m_state;
};

}  // namespace brevanto
