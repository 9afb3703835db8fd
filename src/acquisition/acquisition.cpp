#include "acquisition/acquisition.h"

namespace brevanto {

Acquisition::Acquisition(const Services& services, InverterLink& link, const LinkState& linkState,
                         CoreTimer& measuringTimer, RandomInteger random)
    : m_mainThread(services.mainThread),
      m_cycle(services, link, linkState, std::move(random)),
      m_measuringIntervalMs(0) {
    followInterval(measuringTimer.interval());
    m_followInterval = measuringTimer.addChangeListener(
        [this, &measuringTimer] { followInterval(measuringTimer.interval()); });
    m_readPlot = std::make_unique<ReadPlot>(
        [this] { m_cycle.ReadInverter([this] { m_readingListeners.notify(m_cycle.readings()); }); },
        [this] {
            return ReadPlot::Gates{m_onRequestOnly.load(), m_stopReading.load(),
                                   m_measuringIntervalMs.load()};
        });
}

void Acquisition::followInterval(int intervalMs) {
    m_measuringIntervalMs = intervalMs;
    m_cycle.timeBase().setLongestStep(
        ReadTimeBase::longestStepFor(std::chrono::milliseconds(intervalMs)));
}

Acquisition::~Acquisition() {
    stop();
}

ConnectionHooks Acquisition::connectionHooks() {
    ConnectionHooks hooks;
    hooks.startReading = [this] { startReading(); };
    hooks.setStopReading = [this](bool stop) { setStopReading(stop); };
    hooks.loopCount = [this]() -> std::optional<int> { return loopCount(); };
    return hooks;
}

void Acquisition::startReading() {
    m_cycle.timeBase().restart();
    m_readPlot->Resume();
}

void Acquisition::resumeIfSuspended() {
    if (m_readPlot->Suspended()) {
        m_readPlot->Resume();
    }
}

void Acquisition::wakeForWeb() {
    if (m_onRequestOnly && !m_stopReading) {
        resumeIfSuspended();
    }
}

void Acquisition::stop() {
    if (m_readPlot->Finished()) {
        m_readPlot->WaitFor();
        return;
    }
    // The thread must not suspend itself again on its way out. A suspended
    // thread ends on Terminate at once, without another cycle; a running one
    // finishes its cycle, whose hand-overs this thread serves.
    m_stopReading = false;
    m_readPlot->Terminate();
    m_mainThread.serveUntil([this] { return m_readPlot->Finished(); }, "the reading thread");
    m_readPlot->WaitFor();
}

}  // namespace brevanto
