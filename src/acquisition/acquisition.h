// The program's acquisition: the readings and their time base, the
// measurement cycle and the reading thread that repeats it, and the gates
// the thread reads between cycles (the link is down, readings only on a web
// request, the measuring interval). Whoever needs fresh readings subscribes
// to the finished cycles. Everything here belongs to the main thread unless
// it says otherwise.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

#include "acquisition/measurementcycle.h"
#include "acquisition/readingsettings.h"
#include "acquisition/readplot.h"
#include "link/connectionhooks.h"
#include "platform/coretimer.h"
#include "platform/listeners.h"

namespace brevanto {

class Acquisition {
public:
    // The reading thread starts suspended. It sleeps `measuringTimer`'s
    // interval between cycles, following every change of it.
    Acquisition(const Services& services, InverterLink& link, const LinkState& linkState,
                CoreTimer& measuringTimer, RandomInteger random = defaultRandomInteger());
    // Ends the thread as stop() does.
    ~Acquisition();
    Acquisition(const Acquisition&) = delete;
    Acquisition& operator=(const Acquisition&) = delete;

    void configure(ReadingSettings settings) { m_cycle.configure(std::move(settings)); }

    const InverterReadings& readings() const { return m_cycle.readings(); }
    // What the scheduler sets back and restores between cycles: the day's
    // energy, the reported mode switch and the line's fault state.
    ComputedValues& computed() { return m_cycle.readings().computed; }
    OperatingState& operatingState() { return m_cycle.readings().state; }
    LineState& lineState() { return m_cycle.readings().line; }
    // The day change: the next energy step counts from now.
    void restartEnergyCount() { m_cycle.timeBase().restart(); }
    // Told on the main thread after every finished cycle, in the order added.
    [[nodiscard]] Subscription addReadingListener(Listeners<InverterReadings>::Listener listener) {
        return m_readingListeners.add(std::move(listener));
    }

    // What a connect, a disconnect and the watchdog do with the thread.
    ConnectionHooks connectionHooks();
    // A connect: the energy counts from now, and the thread reads.
    void startReading();
    // StopReading: while set the thread suspends itself after its cycle.
    void setStopReading(bool stop) { m_stopReading = stop; }

    // The ReqByWeb mode: one cycle per wake-up.
    void setOnRequestOnly(bool on) { m_onRequestOnly = on; }
    bool onRequestOnly() const { return m_onRequestOnly; }
    void resumeIfSuspended();
    // A web request: wakes a thread suspended in the ReqByWeb mode for one
    // cycle, without waiting for it. A link that is down keeps the thread
    // asleep. Safe on any thread.
    void wakeForWeb();

    // Ends the thread after its running cycle, serving its hand-overs
    // meanwhile. Runs once; later calls return at once.
    void stop();

    int loopCount() const { return m_readPlot->LoopCount(); }
    bool suspended() const { return m_readPlot->Suspended(); }

private:
    // The thread sleeps the interval, and an energy step covers a few of them.
    void followInterval(int intervalMs);

    QueuedInvoker& m_mainThread;
    MeasurementCycle m_cycle;
    Listeners<InverterReadings> m_readingListeners;
    // Read by the reading thread between cycles.
    std::atomic<bool> m_onRequestOnly{false};
    std::atomic<bool> m_stopReading{true};
    std::atomic<int> m_measuringIntervalMs;
    Subscription m_followInterval;
    std::unique_ptr<ReadPlot> m_readPlot;
};

}  // namespace brevanto
