// Cuts the bytes from the PC into frames at each CR; line noise that runs past
// a bound without one is dropped, so the buffer never grows unchecked.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace brevanto::sim {

constexpr size_t kMaxFrameBytes = 512;

class FrameSplitter {
public:
    // The frame, CR left off, when this byte is the CR that ends one.
    std::optional<std::vector<uint8_t>> push(uint8_t byte);

private:
    std::vector<uint8_t> m_pending;
};

}  // namespace brevanto::sim
