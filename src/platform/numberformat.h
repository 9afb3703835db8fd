// Numbers as text, always with "." as the decimal separator whatever the
// user's locale says, so that every file the program writes reads back.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace brevanto {

// Fixed notation with exactly `decimals` digits after the point; a value
// that rounds to zero is written without a minus sign.
std::string formatFixed(double value, int decimals);

// A decimal number with an optional sign, "." as the separator and an
// optional exponent; surrounding blanks are allowed. ".5" reads as 0.5.
std::optional<double> parseNumber(std::string_view text);

// The number a text starts with, after any blanks, in the same notation:
// "52.10[52.20]" (a reading with a second one in brackets) reads as 52.1.
std::optional<double> parseLeadingNumber(std::string_view text);

// A whole decimal number with an optional sign; surrounding blanks allowed.
std::optional<long long> parseInteger(std::string_view text);

}  // namespace brevanto
