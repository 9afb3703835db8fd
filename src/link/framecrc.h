// The inverter's 16-bit frame check (CRC-16/XMODEM, computed a nibble at a
// time) with its byte adjustment: a check byte that would read as "(", CR or
// LF is raised by one, so a check never looks like a frame's start or end.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace brevanto {

uint16_t FrameCrc(std::span<const uint8_t> bytes);
uint16_t FrameCrc(std::string_view bytes);

constexpr uint8_t highByte(uint16_t value) {
    return static_cast<uint8_t>(value >> 8);
}
constexpr uint8_t lowByte(uint16_t value) {
    return static_cast<uint8_t>(value & 0xFF);
}

}  // namespace brevanto
