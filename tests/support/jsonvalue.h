// Just enough JSON reading for the test servers' summaries (smtpserver.py's
// <n>.json): objects, arrays, strings, numbers, true, false and null.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace brevanto::testing {

// A plain record rather than a std::variant, on which GCC 12 warns falsely.
class JsonValue {
public:
    using Array = std::vector<JsonValue>;
    using Members = std::vector<std::pair<std::string, JsonValue>>;

    // Null.
    JsonValue() = default;
    static JsonValue of(bool value);
    static JsonValue of(double value);
    static JsonValue of(std::string value);
    static JsonValue of(Array items);
    static JsonValue of(Members members);

    // Throws std::runtime_error on what is not JSON.
    static JsonValue parse(std::string_view text);

    // Each returns the empty value of its kind when the value is of another.
    bool boolean() const { return m_boolean; }
    double number() const { return m_number; }
    const std::string& string() const { return m_string; }
    const Array& array() const { return m_items; }
    // An object's first member of that name; null when there is none.
    const JsonValue& operator[](std::string_view name) const;

private:
    bool m_boolean = false;
    double m_number = 0.0;
    std::string m_string;
    Array m_items;
    Members m_members;
};

}  // namespace brevanto::testing
