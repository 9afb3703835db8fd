#include "acquisition/measurementcycle.h"

#include "acquisition/energystep.h"

namespace brevanto {

MeasurementCycle::MeasurementCycle(const Services& services, InverterLink& link,
                                   const LinkState& linkState, RandomInteger random)
    : m_services(services),
      m_link(link),
      m_linkState(linkState),
      m_random(std::move(random)),
      m_timeBase(services.clock) {}

// Test mode touches no port; a disconnected link sends nothing.
Exchange MeasurementCycle::exchange(InverterCommand command, bool testMode) {
    Exchange result;
    result.connected = m_linkState.connected();
    if (result.connected && !testMode) {
        result.reply = m_link.query(command, true);
    }
    return result;
}

void MeasurementCycle::ReadInverter(const std::function<void()>& finished) {
    // The box can only change while disconnected, so one look serves the cycle.
    const bool testMode = m_linkState.testMode();
    MainThreadInvoker& mainThread = m_services.mainThread;

    const Exchange mainValues = exchange(InverterCommand::QPIGS, testMode);
    mainThread.invokeAndWait([&] {
        const ReadContext context{testMode, m_settings.measTime, &m_timeBase, m_random};
        ReadMainValues(m_readings, mainValues, context);
    });

    const Exchange status = exchange(InverterCommand::QMOD, testMode);
    mainThread.invokeAndWait([&] { ReadStatus(m_readings, status, testMode); });

    mainThread.invokeAndWait([&] {
        finishCycle(testMode);
        if (finished) {
            finished();
        }
    });
}

void MeasurementCycle::finishCycle(bool testMode) {
    InverterReadings& r = m_readings;
    EnergyInputs inputs;
    inputs.mainValuesValid = r.MainValuesValid;
    inputs.pvInputCurrent = r.basic[kPvInputCurrent];
    inputs.batteryVoltage = r.basic[kBatteryVoltage];
    inputs.outputApparentPower = r.basic[kOutputApparentPower];
    inputs.outputActivePower = r.basic[kOutputActivePower];
    inputs.onLine = r.state.InverterMode == kLineMode;
    inputs.testMode = testMode;
    inputs.elapsedSeconds = r.ElapsedSeconds;
    EnergyStep(r.computed, inputs);

    // Stamped here, on the main thread, so the window never reads it half-written.
    if (r.StatusValid && r.MainValuesValid) {
        const LocalDateTime now = m_services.clock.now();
        const DateTimeFormat& format = m_services.format;
        r.MeasTimeText = format.formatDate(now.date) + " - " + format.formatTime(now.time) +
                         m_settings.refreshNote;
    }
}

}  // namespace brevanto
