// Turning a checked "QPIGS" reply into numbered text fields, and the texts
// into the shapes the readings are stored in.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace brevanto {

// The text fields of the last good main-values reply, numbered 1 to 100.
// Before any reply, fields 1 to 29 read "00"; a reply with fewer fields
// leaves the higher ones as they were.
class ReplyFields {
public:
    static constexpr int kCount = 100;

    ReplyFields();
    const std::string& operator[](int number) const { return m_fields.at(number); }
    void set(int number, std::string text) { m_fields.at(number) = std::move(text); }

private:
    std::array<std::string, kCount + 1> m_fields;  // [0] unused
};

// Digits and "." stand for themselves; any other byte (signs, letters, check
// bytes, control bytes) reads as "0".
std::string CharText(uint8_t byte);

// Splits the reply from offset 1 at single blanks. The last field runs to the
// end of the reply and so carries the check bytes and the CR as "0"s; two
// blanks in a row give an empty field.
void SplitReply(std::span<const uint8_t> reply, ReplyFields& fields);

// "0005" gives "5", "050.0" gives "50.0", "00.5" gives ".5", "000" gives "0":
// leading zeros go, but the last character always stays.
std::string StripLeadingZeros(std::string_view text);

// Charging on, solar charging on, line charging on: the last three flags of
// the device-status field (the 17th). Anything but a digit counts as 0.
struct ChargeFlags {
    int charging = 0;
    int solar = 0;
    int line = 0;

    bool operator==(const ChargeFlags&) const = default;
};

// Reads the flags from the 17th field of the reply's payload (the bytes
// between the first byte and the check bytes); a reply with fewer fields,
// or a shorter field, gives 0 for what is missing.
ChargeFlags ReadChargeFlags(std::span<const uint8_t> reply);

}  // namespace brevanto
