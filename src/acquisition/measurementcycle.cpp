#include "acquisition/measurementcycle.h"

#include "acquisition/energystep.h"

namespace brevanto {

MeasurementCycle::MeasurementCycle(InverterLink& link, const LinkState& linkState,
                                   MainThreadInvoker& invoker, InverterReadings& readings,
                                   ReadTimeBase& timeBase, const Clock& clock,
                                   const DateTimeFormat& format, MainThreadSettings settings,
                                   RandomInteger random)
    : m_link(link),
      m_linkState(linkState),
      m_invoker(invoker),
      m_readings(readings),
      m_timeBase(timeBase),
      m_clock(clock),
      m_format(format),
      m_settings(std::move(settings)),
      m_random(std::move(random)) {}

// Test mode touches no port; a disconnected link sends nothing.
Exchange MeasurementCycle::exchange(InverterCommand command, bool testMode) {
    Exchange result;
    result.connected = m_linkState.connected();
    if (result.connected && !testMode) {
        result.reply = m_link.query(command, true);
    }
    return result;
}

void MeasurementCycle::ReadInverter() {
    // The box can only change while disconnected, so one look serves the cycle.
    const bool testMode = m_linkState.testMode();

    const Exchange mainValues = exchange(InverterCommand::QPIGS, testMode);
    m_invoker.invokeAndWait([&] {
        const ReadContext context{testMode, m_settings.measTime ? m_settings.measTime() : 0,
                                  &m_timeBase, m_random};
        ReadMainValues(m_readings, mainValues, context);
    });

    const Exchange status = exchange(InverterCommand::QMOD, testMode);
    m_invoker.invokeAndWait([&] { ReadStatus(m_readings, status, testMode); });

    m_invoker.invokeAndWait([&] { finishCycle(testMode); });
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
        const LocalDateTime now = m_clock.now();
        r.MeasTimeText = m_format.formatDate(now.date) + " - " + m_format.formatTime(now.time) +
                         (m_settings.refreshNote ? m_settings.refreshNote() : std::string());
    }
}

}  // namespace brevanto
