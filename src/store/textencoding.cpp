#include "store/textencoding.h"

#include <array>

namespace brevanto {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// 0x80..0x9F of Windows-1252; zero marks the unassigned bytes.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void appendUtf8(std::string& out, char32_t c) {
    auto put = [&out](unsigned value) { out += static_cast<char>(value); };
    if (c < 0x80) {
        put(c);
    } else if (c < 0x800) {
        put(0xC0 | (c >> 6));
        put(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        put(0xE0 | (c >> 12));
        put(0x80 | ((c >> 6) & 0x3F));
        put(0x80 | (c & 0x3F));
    } else {
        put(0xF0 | (c >> 18));
        put(0x80 | ((c >> 12) & 0x3F));
        put(0x80 | ((c >> 6) & 0x3F));
        put(0x80 | (c & 0x3F));
    }
}

// Length of the sequence a lead byte starts and the smallest code point it
// may encode (anything below is an overlong form); zero for a bad lead byte.
struct Lead {
    int length;
    char32_t minimum;
    char32_t bits;
};

Lead leadOf(unsigned char byte) {
    if (byte < 0x80) {
        return {1, 0, byte};
    }
    if ((byte & 0xE0) == 0xC0) {
        return {2, 0x80, byte & 0x1Fu};
    }
    if ((byte & 0xF0) == 0xE0) {
        return {3, 0x800, byte & 0x0Fu};
    }
    if ((byte & 0xF8) == 0xF0) {
        return {4, 0x10000, byte & 0x07u};
    }
    return {0, 0, 0};
}

}  // namespace

bool isValidUtf8(std::string_view text) {
    size_t i = 0;
    while (i < text.size()) {
        const Lead lead = leadOf(static_cast<unsigned char>(text[i]));
        if (lead.length == 0 || text.size() - i < static_cast<size_t>(lead.length)) {
            return false;
        }
        char32_t c = lead.bits;
        for (int k = 1; k < lead.length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + static_cast<size_t>(k)]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            c = (c << 6) | (next & 0x3Fu);
        }
        if (c < lead.minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            return false;
        }
        i += static_cast<size_t>(lead.length);
    }
    return true;
}

std::string utf8FromWindows1252(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 2);
    for (const char byte : text) {
        const auto b = static_cast<unsigned char>(byte);
        char32_t c = b;
        if (b >= 0x80 && b <= 0x9F && kWindows1252High[b - 0x80] != 0) {
            c = kWindows1252High[b - 0x80];
        }
        appendUtf8(out, c);
    }
    return out;
}

std::string utf8FromUtf16(std::string_view bytes, bool bigEndian) {
    auto unitAt = [&](size_t i) -> char16_t {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    };
    std::string out;
    out.reserve(bytes.size());
    const size_t units = bytes.size() / 2;
    for (size_t u = 0; u < units; ++u) {
        const char16_t unit = unitAt(2 * u);
        if (unit >= 0xD800 && unit <= 0xDBFF && u + 1 < units) {
            const char16_t low = unitAt(2 * (u + 1));
            if (low >= 0xDC00 && low <= 0xDFFF) {
                appendUtf8(out, 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (low - 0xDC00));
                ++u;
                continue;
            }
        }
        const bool lone = unit >= 0xD800 && unit <= 0xDFFF;
        appendUtf8(out, lone ? kReplacement : char32_t{unit});
    }
    return out;
}

}  // namespace brevanto
