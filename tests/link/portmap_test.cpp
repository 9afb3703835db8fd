#include "link/portmap.h"

#include <gtest/gtest.h>

namespace brevanto {
namespace {

TEST(PortMap, DefaultTable) {
    const std::pair<int, const char*> cases[] = {
        {1, "/dev/ttyS0"},
        {4, "/dev/ttyS3"},
        {5, "/dev/ttyUSB0"},
        {12, "/dev/ttyUSB7"},
        {13, "/dev/ttyACM0"},
        {20, "/dev/ttyACM7"},
        {21, "/dev/ttyS4"},
        {29, "/dev/ttyS12"},
        {0, ""},
        {30, ""},
    };
    const PortMap map;
    for (const auto& [number, path] : cases) {
        EXPECT_EQ(map.devicePath(number), path) << number;
    }
}

TEST(PortMap, OverridesWinAndEmptyOnesDoNot) {
    const PortMap map({{12, "/tmp/sim/ttyINV"}, {3, ""}, {31, "/dev/ttyX"}});
    EXPECT_EQ(map.devicePath(12), "/tmp/sim/ttyINV");
    EXPECT_EQ(map.devicePath(3), "/dev/ttyS2");
    EXPECT_EQ(map.devicePath(31), "/dev/ttyX");
    EXPECT_EQ(map.devicePathFor("\\\\.\\COM12"), "/tmp/sim/ttyINV");
    EXPECT_EQ(map.devicePathFor("com3"), "/dev/ttyS2");
}

TEST(PortMap, PortNames) {
    EXPECT_EQ(PortMap::portNumber("COM1"), 1);
    EXPECT_EQ(PortMap::portNumber("\\\\.\\COM29"), 29);
    EXPECT_EQ(PortMap::portNumber("Com7"), 7);
    for (const char* bad : {"", "COM", "COMx", "COM-1", "COM+1", "LPT1", "COM1 ", "COM999"}) {
        EXPECT_FALSE(PortMap::portNumber(bad)) << bad;
    }
    EXPECT_FALSE(PortMap().devicePathFor("COM40"));
    EXPECT_EQ(PortMap::portName(12), "COM12");
}

}  // namespace
}  // namespace brevanto
