#include "support/fixtures.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace brevanto::testing {

std::filesystem::path fixturesDirectory() {
    const char* configured = std::getenv("BREVANTO_FIXTURES");
    return (configured != nullptr && *configured != '\0') ? configured : BREVANTO_FIXTURES_DIR;
}

std::vector<uint8_t> bytesFromHex(const std::string& hex) {
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes.push_back(static_cast<uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

std::string hexFromBytes(const std::vector<uint8_t>& bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (const uint8_t byte : bytes) {
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 0x0F];
    }
    return hex;
}

std::vector<CapturedReply> capturedReplies() {
    std::ifstream file(fixturesDirectory() / "inverter-replies.tsv");
    if (!file) {
        throw std::runtime_error("cannot read inverter-replies.tsv");
    }
    std::vector<CapturedReply> replies;
    bool valid = true;
    std::string line;
    while (std::getline(file, line)) {
        if (line.rfind("# valid", 0) == 0) {
            valid = true;
        } else if (line.rfind("# invalid", 0) == 0) {
            valid = false;
        }
        if (line.empty() || line.front() == '#') {
            continue;
        }
        const size_t tab1 = line.find('\t');
        const size_t tab2 = line.find('\t', tab1 + 1);
        replies.push_back({line.substr(0, tab1),
                           bytesFromHex(line.substr(tab1 + 1, tab2 - tab1 - 1)),
                           line.substr(tab2 + 1), valid});
    }
    return replies;
}

}  // namespace brevanto::testing
