#include "web/visitline.h"

#include "platform/numberformat.h"

namespace brevanto {
namespace {

constexpr std::string_view kIpStart = "[ipstart]";
constexpr std::string_view kIpEnd = "[ipend]";
constexpr std::string_view kCountStart = "[CS]";
constexpr std::string_view kCountEnd = "[CE]";

std::optional<std::string_view> between(std::string_view line, std::string_view open,
                                        std::string_view close) {
    const auto start = line.find(open);
    const auto end = line.find(close);
    if (start == std::string_view::npos || end == std::string_view::npos || end < start) {
        return std::nullopt;
    }
    const auto from = start + open.size();
    if (end < from) {
        return std::nullopt;
    }
    return line.substr(from, end - from);
}

}  // namespace

std::string visitLine(std::string_view dateTime, std::string_view address, long long count) {
    std::string line(dateTime);
    line += kIpStart;
    line += address;
    line += kIpEnd;
    line += " requested webpage ";
    line += kCountStart;
    line += std::to_string(count);
    line += kCountEnd;
    return line;
}

std::optional<std::string_view> visitAddress(std::string_view line) {
    return between(line, kIpStart, kIpEnd);
}

long long visitCount(std::string_view line) {
    const auto text = between(line, kCountStart, kCountEnd);
    const auto count = text ? parseInteger(*text) : std::nullopt;
    return count.value_or(0);
}

}  // namespace brevanto
