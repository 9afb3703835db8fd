// The inverter replies captured on real units (tests/fixtures), as bytes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace brevanto::testing {

struct CapturedReply {
    std::string command;
    std::vector<uint8_t> bytes;
    std::string description;
    bool valid = false;  // listed under "valid: the check matches"
};

std::filesystem::path fixturesDirectory();
std::vector<CapturedReply> capturedReplies();
std::vector<uint8_t> bytesFromHex(const std::string& hex);
std::string hexFromBytes(const std::vector<uint8_t>& bytes);

}  // namespace brevanto::testing
