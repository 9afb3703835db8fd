#include "link/framecrc.h"

#include <array>

namespace brevanto {
namespace {

// Entry i is the CRC of the 4-bit value i.
constexpr std::array<uint16_t, 16> kNibbleTable = {0x0000, 0x1021, 0x2042, 0x3063, 0x4084, 0x50A5,
                                                   0x60C6, 0x70E7, 0x8108, 0x9129, 0xA14A, 0xB16B,
                                                   0xC18C, 0xD1AD, 0xE1CE, 0xF1EF};

uint16_t step(uint16_t crc, uint8_t nibble) {
    return static_cast<uint16_t>((crc << 4) ^ kNibbleTable[((crc >> 12) ^ nibble) & 0x0F]);
}

uint8_t adjusted(uint8_t byte) {
    return (byte == 0x28 || byte == 0x0D || byte == 0x0A) ? static_cast<uint8_t>(byte + 1) : byte;
}

}  // namespace

uint16_t FrameCrc(std::span<const uint8_t> bytes) {
    uint16_t crc = 0;
    for (const uint8_t byte : bytes) {
        crc = step(crc, byte >> 4);
        crc = step(crc, byte & 0x0F);
    }
    return static_cast<uint16_t>(adjusted(highByte(crc)) << 8 | adjusted(lowByte(crc)));
}

uint16_t FrameCrc(std::string_view bytes) {
    return FrameCrc(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
}

}  // namespace brevanto
