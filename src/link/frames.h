// Building the frames that cross the line: a command frame (command, check,
// CR) from the PC, and a reply frame ("(", payload, check, CR) from the
// inverter.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace brevanto {

constexpr uint8_t kCarriageReturn = 0x0D;
constexpr uint8_t kFrameStart = 0x28;  // "("
// A reply ends in two check bytes and a CR.
constexpr size_t kCheckAndCrLength = 3;

std::vector<uint8_t> commandFrame(std::string_view command);
// payload is the text between "(" and the check bytes.
std::vector<uint8_t> replyFrame(std::string_view payload);

}  // namespace brevanto
