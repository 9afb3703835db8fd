#include "ui/logtext.h"

#include <algorithm>

#include "store/textencoding.h"

namespace brevanto {

QString logText(std::string_view text) {
    const auto size = static_cast<qsizetype>(text.size());
    // Nearly every cell is digits and punctuation: no decoding to do.
    if (std::all_of(text.begin(), text.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        return QString::fromLatin1(text.data(), size);
    }
    if (isValidUtf8(text)) {
        return QString::fromUtf8(text.data(), size);
    }
    return QString::fromStdString(utf8FromWindows1252(text));
}

}  // namespace brevanto
