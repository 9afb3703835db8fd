// The reading thread: repeats the measurement cycle, sleeps the measuring
// interval between cycles, and suspends itself after a cycle when readings
// are only wanted on a web request or when the link went down. Created
// suspended; Resume() starts or continues it.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace brevanto {

class ReadPlot {
public:
    // What the thread consults between cycles; the caller keeps it safe to
    // read from this thread. It is read under the thread's own lock, so it
    // must not call back into this object.
    struct Gates {
        bool reqByWeb = false;    // one cycle per wake-up
        bool stopReading = true;  // the link is down
        int intervalMs = 1000;    // Timer1's interval
    };

    ReadPlot(std::function<void()> cycle, std::function<Gates()> gates);
    // Asks the thread to end and waits for it.
    ~ReadPlot();
    ReadPlot(const ReadPlot&) = delete;
    ReadPlot& operator=(const ReadPlot&) = delete;

    // Wakes a suspended thread; does nothing to a running one.
    void Resume();
    bool Suspended() const;
    // The thread leaves after its running cycle; a running sleep is cut short
    // and a suspended thread ends without another cycle.
    void Terminate();
    bool Terminated() const;
    void WaitFor();
    // The thread has left its loop: WaitFor() returns at once. Whoever must
    // keep serving the thread's hand-overs while it ends watches this.
    bool Finished() const;
    // Cycles finished since the thread started.
    int LoopCount() const;

private:
    void Execute();
    void runCycles();
    void runCycle();
    // False when termination ended the wait.
    bool sleepFor(int intervalMs);
    // Both false when termination ended the wait.
    bool pauseAsTheGatesSay();
    bool suspendWhile(std::unique_lock<std::mutex>& lock, bool (*asked)(const Gates&));

    std::function<void()> m_cycle;
    std::function<Gates()> m_gates;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_suspended = true;
    bool m_terminated = false;
    bool m_finished = false;
    int m_loopCount = 0;
    std::thread m_thread;
};

}  // namespace brevanto
