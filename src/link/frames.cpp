#include "link/frames.h"

#include "link/framecrc.h"

namespace brevanto {
namespace {

std::vector<uint8_t> withCheck(std::vector<uint8_t> bytes) {
    const uint16_t check = FrameCrc(bytes);
    bytes.push_back(highByte(check));
    bytes.push_back(lowByte(check));
    bytes.push_back(kCarriageReturn);
    return bytes;
}

}  // namespace

std::vector<uint8_t> commandFrame(std::string_view command) {
    return withCheck(std::vector<uint8_t>(command.begin(), command.end()));
}

std::vector<uint8_t> replyFrame(std::string_view payload) {
    std::vector<uint8_t> bytes{kFrameStart};
    bytes.insert(bytes.end(), payload.begin(), payload.end());
    return withCheck(std::move(bytes));
}

}  // namespace brevanto
