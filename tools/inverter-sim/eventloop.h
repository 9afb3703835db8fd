// The simulator's one loop: serial traffic, console commands and stop signals
// handled in turn on one thread, so nothing needs a lock.
#pragma once

#include <deque>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "inverter-sim/dayscript.h"
#include "inverter-sim/energyledger.h"
#include "inverter-sim/framesplitter.h"
#include "inverter-sim/linepacer.h"
#include "inverter-sim/pluggedterminal.h"
#include "inverter-sim/responder.h"

namespace brevanto::sim {

struct LoopSetup {
    PluggedTerminal* terminal = nullptr;  // the line, which "unplug" and "plug" change
    int stop = -1;                        // readable when the simulator must stop
    int console = 0;                      // commands, one a line
    int answers = 1;                      // one line per command
    bool paced = true;
    uint64_t seed = 1;
    DayScript script{};  // lines the loop runs by itself, each at its time
};

class EventLoop {
public:
    explicit EventLoop(const LoopSetup& setup);

    // Until quit, end of the console's input or a stop signal. Throws
    // std::system_error if the serial line fails.
    void run();
    // One line on the answer channel, written at once.
    void say(std::string_view line);

private:
    struct PendingFrame {
        std::vector<uint8_t> bytes;
        SteadyTime receivedAt;
    };

    void waitForEvents();
    void catchUp();
    void readSerial(SteadyTime now);
    void answerDueFrames(SteadyTime now);
    void writeDueBytes(SteadyTime now);
    void readConsole();
    void handleLine(std::string_view line);
    // Carries out one console command; its answer.
    std::string perform(std::string_view line);
    void runDueScript();
    void babble(SteadyTime now);
    void unplug();
    void advanceLedger();

    LoopSetup m_setup;
    Responder m_responder;
    FrameSplitter m_splitter;
    ReceiveLine m_receive;
    TransmitLine m_transmit;
    std::deque<PendingFrame> m_pending;
    std::string m_consoleInput;
    bool m_skippingLongLine = false;
    bool m_serialFull = false;
    bool m_running = true;
    EnergyLedger m_ledger;
    bool m_babbling = false;
    SteadyTime m_nextBabble{};
    std::mt19937 m_noise;
};

}  // namespace brevanto::sim
