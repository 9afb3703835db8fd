#include "link/replyfields.h"

#include "link/frames.h"

namespace brevanto {
namespace {

constexpr uint8_t kBlank = 0x20;
constexpr int kStatusField = 17;
// c has been through CharText: a digit or ".".
int flagValue(char c) {
    return c == '.' ? 0 : c - '0';
}

}  // namespace

ReplyFields::ReplyFields() {
    for (int k = 1; k <= 29; ++k) {
        m_fields[k] = "00";
    }
}

std::string CharText(uint8_t byte) {
    if ((byte >= '0' && byte <= '9') || byte == '.') {
        return std::string(1, static_cast<char>(byte));
    }
    return "0";
}

void SplitReply(std::span<const uint8_t> reply, ReplyFields& fields) {
    const size_t n = reply.size();
    size_t i = 1;
    for (int k = 1; k <= ReplyFields::kCount && i < n; ++k) {
        std::string field;
        while (i < n && reply[i] != kBlank) {
            field += CharText(reply[i]);
            ++i;
        }
        if (i < n) {
            ++i;
        }
        fields.set(k, std::move(field));
    }
}

std::string StripLeadingZeros(std::string_view text) {
    if (text.size() <= 1 || text.front() != '0') {
        return std::string(text);
    }
    size_t first = 0;
    while (first + 1 < text.size() && text[first] == '0') {
        ++first;
    }
    return std::string(text.substr(first));
}

ChargeFlags ReadChargeFlags(std::span<const uint8_t> reply) {
    if (reply.size() <= 1 + kCheckAndCrLength) {
        return {};
    }
    const auto payload = reply.subspan(1, reply.size() - 1 - kCheckAndCrLength);
    size_t start = 0;
    for (int field = 1; field < kStatusField; ++field) {
        while (start < payload.size() && payload[start] != kBlank) {
            ++start;
        }
        if (start >= payload.size()) {
            return {};
        }
        ++start;
    }
    size_t end = start;
    while (end < payload.size() && payload[end] != kBlank) {
        ++end;
    }
    std::string status;
    for (size_t i = start; i < end; ++i) {
        status += CharText(payload[i]);
    }
    // Right-aligned: the last character is always line charging.
    status.insert(0, status.size() < 3 ? 3 - status.size() : 0, '0');
    const std::string_view last3 = std::string_view(status).substr(status.size() - 3);
    return {flagValue(last3[0]), flagValue(last3[1]), flagValue(last3[2])};
}

}  // namespace brevanto
