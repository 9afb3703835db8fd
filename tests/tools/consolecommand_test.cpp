#include "inverter-sim/consolecommand.h"

#include <gtest/gtest.h>

namespace brevanto::sim {
namespace {

struct LineCase {
    std::string line;
    ConsoleLine expected;
};

TEST(InverterSimConsoleParser, ReadsEveryValidCommand) {
    const LineCase cases[] = {
        {"mode B", SetMode{'B'}},
        {"mode  Z", SetMode{'Z'}},
        {"mode L\r", SetMode{'L'}},
        {"qpigs auto", SetQpigs{}},
        {"qpigs 230.0 50.0 000.0", SetQpigs{"230.0 50.0 000.0"}},
        {"qpigs  leading blank kept", SetQpigs{" leading blank kept"}},
        {"qpigs autonomous", SetQpigs{"autonomous"}},
        {"raw QPIGS 28 4e 41 4B 73 73 0d",
         QueueRaw{"QPIGS", {0x28, 0x4E, 0x41, 0x4B, 0x73, 0x73, 0x0D}}},
        {"raw QMOD 284c0607 0d", QueueRaw{"QMOD", {0x28, 0x4C, 0x06, 0x07, 0x0D}}},
        {"raw QPIRI 00", QueueRaw{"QPIRI", {0x00}}},
        {"silent on", SetSilent{true}},
        {"silent off", SetSilent{false}},
        {"badcrc on", SetBadCrc{true}},
        {"badcrc off", SetBadCrc{false}},
        {"grid off", SetGrid{false}},
        {"grid on", SetGrid{true}},
        {"nak on", SetNak{true}},
        {"babble on", SetBabble{true}},
        {"babble off", SetBabble{false}},
        {"unplug", SetPlugged{false}},
        {"plug", SetPlugged{true}},
        {"report", Report{}},
        {"quit", Quit{}},
    };
    for (const LineCase& c : cases) {
        EXPECT_EQ(parseConsoleLine(c.line), c.expected) << c.line;
    }
}

TEST(InverterSimConsoleParser, RejectsMalformedLinesWithAReason) {
    const std::string lines[] = {
        "",
        "   ",
        "mode",
        "mode b",
        "mode BB",
        "mode 1",
        "mode B C",
        "MODE B",
        " mode B",
        "qpigs",
        "qpigs ",
        "raw",
        "raw QMOD",
        "raw QMOD 2",
        "raw QMOD 2 84c",
        "raw QMOD zz",
        "raw QMOD 0x28",
        "silent",
        "silent yes",
        "silent on off",
        "badcrc 1",
        "quit now",
        "grid",
        "grid down",
        "nak 0",
        "babble",
        "unplug now",
        "plug in",
        "report today",
        "status",
        "qpigsauto",
    };
    for (const std::string& line : lines) {
        const ConsoleLine parsed = parseConsoleLine(line);
        ASSERT_TRUE(std::holds_alternative<Rejected>(parsed)) << "'" << line << "'";
        EXPECT_FALSE(std::get<Rejected>(parsed).reason.empty()) << "'" << line << "'";
    }
}

}  // namespace
}  // namespace brevanto::sim
