// The serial port against the simulator on a real pseudo-terminal.
#include "link/tcomm.h"

#include <chrono>
#include <memory>

#include <gtest/gtest.h>

#include "link/frames.h"
#include "support/simprocess.h"
#include "support/tempdir.h"

namespace brevanto {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Line errors cannot be made on a pseudo-terminal, so this one is told.
class ScriptedLineErrors final : public LineErrorMonitor {
public:
    explicit ScriptedLineErrors(std::vector<State> script) : m_script(std::move(script)) {}
    void reset(int) override {}
    State check(int) override {
        if (m_script.empty()) {
            return State::Clean;
        }
        const State next = m_script.front();
        m_script.erase(m_script.begin());
        return next;
    }

private:
    std::vector<State> m_script;
};

int send(TComm& comm, std::string_view command) {
    const auto frame = commandFrame(command);
    return comm.Write(frame.data(), static_cast<int>(frame.size()));
}

std::chrono::milliseconds since(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
}

class TCommTest : public ::testing::Test {
protected:
    void open(std::unique_ptr<LineErrorMonitor> lineErrors = nullptr) {
        comm =
            lineErrors ? std::make_unique<TComm>(std::move(lineErrors)) : std::make_unique<TComm>();
        comm->Open(sim.linkPath().string(), 2400, 8, 0, 1);
        ASSERT_EQ(comm->LastError(), 0);
    }

    testing::SimProcess sim;
    std::unique_ptr<TComm> comm;
};

TEST_F(TCommTest, AMissingPortFailsSilently) {
    TComm port;
    testing::TempDir dir;
    EXPECT_FALSE(port.PortExists((dir / "ttyNONE").string()));
    EXPECT_FALSE(port.PortExists(dir.path().string()));
    port.Open((dir / "ttyNONE").string(), 2400, 8, 0, 1);
    EXPECT_EQ(port.LastError(), 1);
    EXPECT_FALSE(port.IsOpen());
    port.Close();
    EXPECT_FALSE(port.IsOpen());
    EXPECT_TRUE(port.ConfigurationFailures().empty());
}

TEST_F(TCommTest, APortHeldByAnotherOpenCountsAsAbsent) {
    TComm probe;
    EXPECT_TRUE(probe.PortExists(sim.linkPath().string()));
    open();
    EXPECT_FALSE(probe.PortExists(sim.linkPath().string()));
    TComm second;
    second.Open(sim.linkPath().string(), 2400, 8, 0, 1);
    EXPECT_EQ(second.LastError(), 1);
    comm->Close();
    EXPECT_TRUE(probe.PortExists(sim.linkPath().string()));
}

TEST_F(TCommTest, OpeningSomethingThatIsNoTerminalKeepsTheComplaintButStaysOpen) {
    testing::TempDir dir;
    testing::writeFile(dir / "plain-file", "");
    TComm port;
    port.Open((dir / "plain-file").string(), 2400, 8, 0, 1);
    EXPECT_EQ(port.LastError(), 0);
    EXPECT_TRUE(port.IsOpen());
    EXPECT_EQ(port.ConfigurationFailures(), std::vector<std::string>{"Errore BuildCommDCB"});
    port.Close();
    port.Open(sim.linkPath().string(), 2400, 8, 0, 1);
    EXPECT_TRUE(port.ConfigurationFailures().empty());
}

TEST_F(TCommTest, ReadStreamTakesAWholeReplyUpToItsCr) {
    open();
    ASSERT_EQ(send(*comm, "QPIGS"), 8);
    std::array<uint8_t, 200> buffer{};
    const int n = comm->ReadStream(buffer.data(), static_cast<int>(buffer.size()));
    ASSERT_EQ(n, 110);
    EXPECT_EQ(buffer[0], '(');
    EXPECT_EQ(buffer[109], 0x0D);
}

TEST_F(TCommTest, ReadStreamOnASilentLineGivesUpAfter220Ms) {
    ASSERT_EQ(sim.command("silent on"), "ok");
    open();
    ASSERT_EQ(send(*comm, "QPIGS"), 8);
    std::array<uint8_t, 200> buffer{};
    const auto start = Clock::now();
    EXPECT_EQ(comm->ReadStream(buffer.data(), static_cast<int>(buffer.size())), 0);
    const auto waited = since(start);
    EXPECT_GE(waited, 220ms);
    EXPECT_LT(waited, 400ms) << "the silence that ends a reply is 220 ms, not seconds";
}

// A line that never falls silent (a babbling adapter) is drained up to twice
// the buffer and no further, so it holds the port only as long as that takes.
TEST_F(TCommTest, ReadStreamStopsDrainingABabblingLineAtTwiceItsBuffer) {
    const std::string hex(2 * 2000, '3');
    ASSERT_EQ(sim.command("raw QPIGS " + hex), "ok");
    open();
    ASSERT_EQ(send(*comm, "QPIGS"), 8);
    std::vector<uint8_t> buffer(200);
    EXPECT_EQ(comm->ReadStream(buffer.data(), 200), 400);
}

TEST_F(TCommTest, ReadStreamNeverStoresPastItsBufferAndTellsTheOverflow) {
    const std::string hex(2 * 300, '3');  // 300 bytes of "3", no CR
    ASSERT_EQ(sim.command("raw QPIGS " + hex), "ok");
    open();
    ASSERT_EQ(send(*comm, "QPIGS"), 8);
    std::vector<uint8_t> buffer(210, 0xEE);  // 10 guard bytes after the 200 offered
    EXPECT_EQ(comm->ReadStream(buffer.data(), 200), 300);
    EXPECT_EQ(std::count(buffer.begin(), buffer.begin() + 200, '3'), 200);
    EXPECT_EQ(std::count(buffer.begin() + 200, buffer.end(), 0xEE), 10);
}

TEST_F(TCommTest, ReadReturnsWhatCameOnceTheLineFallsSilent) {
    ASSERT_EQ(sim.command("raw QMOD 2842e7c9"), "ok");  // a status reply without its CR
    open();
    ASSERT_EQ(send(*comm, "QMOD"), 7);
    std::array<uint8_t, 5> buffer{};
    const auto start = Clock::now();
    EXPECT_EQ(comm->Read(buffer.data(), 5), 4);
    EXPECT_GE(since(start), 50ms);

    // With room for 100 bytes the whole wait would be 2.2 s; the gap after
    // the last byte ends it long before.
    ASSERT_EQ(sim.command("raw QMOD 2842e7c9"), "ok");
    ASSERT_EQ(send(*comm, "QMOD"), 7);
    std::array<uint8_t, 100> large{};
    const auto again = Clock::now();
    EXPECT_EQ(comm->Read(large.data(), 100), 4);
    EXPECT_LT(since(again), 1500ms);
}

TEST_F(TCommTest, ReadOnASilentLineWaitsItsWholeTimeOut) {
    ASSERT_EQ(sim.command("silent on"), "ok");
    open();
    std::array<uint8_t, 5> buffer{};
    const auto start = Clock::now();
    EXPECT_EQ(comm->Read(buffer.data(), 5), 0);
    EXPECT_GE(since(start), 300ms);  // 20 ms x 5 + 200 ms
}

TEST_F(TCommTest, APendingLineErrorIsReportedOnceWithoutReading) {
    using State = LineErrorMonitor::State;
    open(std::make_unique<ScriptedLineErrors>(std::vector{State::ErrorPending}));
    ASSERT_EQ(send(*comm, "QMOD"), 7);
    std::array<uint8_t, 5> buffer{};
    EXPECT_EQ(comm->Read(buffer.data(), 5), TComm::kReadLineError);
    EXPECT_NE(comm->LastError(), 0);
    EXPECT_EQ(comm->Read(buffer.data(), 5), 5);
    EXPECT_EQ(comm->LastError(), 0);
    EXPECT_EQ(buffer[0], '(');
}

// The driver's error counts, as a serial port keeps them; the test makes a
// framing error by counting one more.
TEST_F(TCommTest, OneFramingErrorFailsOneReadNotEveryReadAfterIt) {
    auto frames = std::make_shared<int>(7);  // errors from before the open
    open(std::make_unique<IcountLineErrorMonitor>(
        [frames](int, IcountLineErrorMonitor::Counts& counts) {
            counts = {*frames, 0, 0, 0, 0};
            return IcountLineErrorMonitor::Query::Ok;
        }));
    std::array<uint8_t, 5> buffer{};
    ASSERT_EQ(send(*comm, "QMOD"), 7);
    EXPECT_EQ(comm->Read(buffer.data(), 5), 5) << "the errors before the open are the baseline";
    ++*frames;
    for (const int expected : {TComm::kReadLineError, 5, 5}) {
        comm->Purge();
        ASSERT_EQ(send(*comm, "QMOD"), 7);
        EXPECT_EQ(comm->Read(buffer.data(), 5), expected);
    }
}

TEST_F(TCommTest, ALineStateThatCannotBeQueried) {
    using State = LineErrorMonitor::State;
    open(std::make_unique<ScriptedLineErrors>(std::vector{State::QueryFailed}));
    std::array<uint8_t, 5> buffer{};
    EXPECT_EQ(comm->Read(buffer.data(), 5), TComm::kReadStateUnknown);
    comm->Close();
    EXPECT_EQ(comm->Read(buffer.data(), 5), TComm::kReadStateUnknown);
    EXPECT_EQ(comm->ReadStream(buffer.data(), 5), -1);
    EXPECT_EQ(comm->Write(buffer.data(), 5), -1);
}

TEST_F(TCommTest, ADeviceThatGoesAwayFailsReadsInsteadOfHanging) {
    open();
    sim.closeInput();  // the simulator ends: like pulling the USB adapter
    ASSERT_EQ(sim.waitForExit(), 0);
    std::array<uint8_t, 200> buffer{};
    EXPECT_EQ(comm->Read(buffer.data(), 5), -1);
    EXPECT_EQ(comm->ReadStream(buffer.data(), 200), -1);
}

}  // namespace
}  // namespace brevanto
