#include "support/jsonvalue.h"

#include <cstdlib>
#include <stdexcept>

namespace brevanto::testing {
namespace {

class JsonReader {
public:
    explicit JsonReader(std::string_view text) : m_text(text) {}

    JsonValue document() {
        JsonValue value = next();
        skipBlanks();
        if (m_at != m_text.size()) {
            fail("text after the value");
        }
        return value;
    }

private:
    JsonValue next() {
        skipBlanks();
        const char c = peek();
        if (c == '{') {
            return JsonValue::of(object());
        }
        if (c == '[') {
            return JsonValue::of(array());
        }
        if (c == '"') {
            return JsonValue::of(string());
        }
        if (take("true")) {
            return JsonValue::of(true);
        }
        if (take("false")) {
            return JsonValue::of(false);
        }
        if (take("null")) {
            return JsonValue();
        }
        return JsonValue::of(number());
    }

    JsonValue::Members object() {
        JsonValue::Members members;
        expect('{');
        for (bool first = true; !closes('}', first); first = false) {
            skipBlanks();
            std::string name = string();
            skipBlanks();
            expect(':');
            members.emplace_back(std::move(name), next());
        }
        return members;
    }

    JsonValue::Array array() {
        JsonValue::Array items;
        expect('[');
        for (bool first = true; !closes(']', first); first = false) {
            items.push_back(next());
        }
        return items;
    }

    // Before each item: true at the closing bracket, else past the comma
    // that comes between items.
    bool closes(char bracket, bool first) {
        skipBlanks();
        if (peek() == bracket) {
            ++m_at;
            return true;
        }
        if (!first) {
            expect(',');
        }
        return false;
    }

    std::string string() {
        expect('"');
        std::string text;
        for (char c = get(); c != '"'; c = get()) {
            if (c != '\\') {
                text += c;
                continue;
            }
            switch (const char escaped = get()) {
                case 'n':
                    text += '\n';
                    break;
                case 'r':
                    text += '\r';
                    break;
                case 't':
                    text += '\t';
                    break;
                case 'b':
                    text += '\b';
                    break;
                case 'f':
                    text += '\f';
                    break;
                case 'u':
                    appendUtf8(text, codePoint());
                    break;
                default:
                    text += escaped;
            }
        }
        return text;
    }

    // A \uXXXX escape, with the second half of a surrogate pair if one follows.
    char32_t codePoint() {
        char32_t point = hexQuad();
        if (point >= 0xD800 && point < 0xDC00 && take("\\u")) {
            point = 0x10000 + ((point - 0xD800) << 10) + (hexQuad() - 0xDC00);
        }
        return point;
    }

    char32_t hexQuad() {
        if (m_at + 4 > m_text.size()) {
            fail("a short \\u escape");
        }
        const std::string digits(m_text.substr(m_at, 4));
        m_at += 4;
        return static_cast<char32_t>(std::strtoul(digits.c_str(), nullptr, 16));
    }

    static void appendUtf8(std::string& text, char32_t point) {
        const auto byte = [&text](char32_t bits) { text += static_cast<char>(bits); };
        if (point < 0x80) {
            byte(point);
        } else if (point < 0x800) {
            byte(0xC0 | (point >> 6));
            byte(0x80 | (point & 0x3F));
        } else if (point < 0x10000) {
            byte(0xE0 | (point >> 12));
            byte(0x80 | ((point >> 6) & 0x3F));
            byte(0x80 | (point & 0x3F));
        } else {
            byte(0xF0 | (point >> 18));
            byte(0x80 | ((point >> 12) & 0x3F));
            byte(0x80 | ((point >> 6) & 0x3F));
            byte(0x80 | (point & 0x3F));
        }
    }

    double number() {
        const std::string rest(m_text.substr(m_at, 40));
        char* end = nullptr;
        const double value = std::strtod(rest.c_str(), &end);
        if (end == rest.c_str()) {
            fail("no value");
        }
        m_at += static_cast<std::size_t>(end - rest.c_str());
        return value;
    }

    void skipBlanks() {
        while (m_at < m_text.size() &&
               std::string_view(" \t\r\n").find(m_text[m_at]) != std::string_view::npos) {
            ++m_at;
        }
    }

    bool take(std::string_view word) {
        if (m_text.substr(m_at, word.size()) != word) {
            return false;
        }
        m_at += word.size();
        return true;
    }

    void expect(char c) {
        if (get() != c) {
            fail(std::string("no '") + c + "'");
        }
    }

    char peek() const { return m_at < m_text.size() ? m_text[m_at] : '\0'; }

    char get() {
        if (m_at >= m_text.size()) {
            fail("the end too early");
        }
        return m_text[m_at++];
    }

    [[noreturn]] void fail(const std::string& what) const {
        throw std::runtime_error("JSON: " + what + " at " + std::to_string(m_at));
    }

    std::string_view m_text;
    std::size_t m_at = 0;
};

}  // namespace

JsonValue JsonValue::parse(std::string_view text) {
    return JsonReader(text).document();
}

JsonValue JsonValue::of(bool value) {
    JsonValue json;
    json.m_boolean = value;
    return json;
}

JsonValue JsonValue::of(double value) {
    JsonValue json;
    json.m_number = value;
    return json;
}

JsonValue JsonValue::of(std::string value) {
    JsonValue json;
    json.m_string = std::move(value);
    return json;
}

JsonValue JsonValue::of(Array items) {
    JsonValue json;
    json.m_items = std::move(items);
    return json;
}

JsonValue JsonValue::of(Members members) {
    JsonValue json;
    json.m_members = std::move(members);
    return json;
}

const JsonValue& JsonValue::operator[](std::string_view name) const {
    static const JsonValue kNull;
    for (const auto& [memberName, value] : m_members) {
        if (memberName == name) {
            return value;
        }
    }
    return kNull;
}

}  // namespace brevanto::testing
