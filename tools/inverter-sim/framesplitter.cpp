#include "inverter-sim/framesplitter.h"

#include <utility>

#include "link/frames.h"

namespace brevanto::sim {

std::optional<std::vector<uint8_t>> FrameSplitter::push(uint8_t byte) {
    if (byte == kCarriageReturn) {
        return std::exchange(m_pending, {});
    }
    if (m_pending.size() == kMaxFrameBytes) {
        m_pending.clear();
    }
    m_pending.push_back(byte);
    return std::nullopt;
}

}  // namespace brevanto::sim
