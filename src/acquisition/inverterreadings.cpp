#include "acquisition/inverterreadings.h"

#include <random>

#include "acquisition/readingnumber.h"

namespace brevanto {
namespace {

void takeBasicVariables(InverterReadings& readings) {
    for (int number = 1; number <= kBasicVariableCount; ++number) {
        const BasicVariable& variable = kBasicVariables[static_cast<size_t>(number - 1)];
        readings.basic[static_cast<size_t>(number)] =
            StripLeadingZeros(readings.replyFields[variable.replyField]);
    }
    readings.SccBatteryVoltage = StripLeadingZeros(readings.replyFields[kSccBatteryVoltageField]);
}

void fillTestFields(ReplyFields& fields, const RandomInteger& random) {
    for (const BasicVariable& variable : kBasicVariables) {
        fields.set(variable.replyField,
                   std::to_string(random(variable.testLow, variable.testHigh)));
    }
    fields.set(kSccBatteryVoltageField, std::to_string(random(kSccTestLow, kSccTestHigh)));
}

double basicNumber(const InverterReadings& readings, int number) {
    return numberOrZero(readings.basic[static_cast<size_t>(number)]);
}

void takeReading(InverterReadings& readings, const ReadContext& context) {
    takeBasicVariables(readings);
    takeLineReading(readings.line, basicNumber(readings, kAcVoltage));
    readings.ElapsedSeconds = context.timeBase ? context.timeBase->successfulRead() : 0;
    readings.MainValuesValid = true;
}

}  // namespace

RandomInteger defaultRandomInteger() {
    auto engine = std::make_shared<std::mt19937>(std::random_device{}());
    return [engine](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(*engine);
    };
}

void ReadMainValues(InverterReadings& readings, const Exchange& exchange,
                    const ReadContext& context) {
    readings.MainValuesValid = false;
    const int threshold = FaultThreshold(context.measTime);
    if (context.testMode) {
        fillTestFields(readings.replyFields, context.random);
        takeReading(readings, context);
    } else if (exchange.connected) {
        if (!exchange.reply.sent) {
            return;  // nothing went out: no reading, no line update
        }
        if (exchange.reply.valid) {
            SplitReply(exchange.reply.bytes, readings.replyFields);
            takeReading(readings, context);
            readings.chargeFlags = ReadChargeFlags(exchange.reply.bytes);
        }
    }
    LineUpdate(readings.line, threshold);
}

void ReadStatus(InverterReadings& readings, const Exchange& exchange, bool testMode) {
    OperatingState& state = readings.state;
    state.PrevInverterMode = state.InverterMode;
    if (testMode) {
        state.InverterMode = "Test Mode";
        state.EnergySource = "Test Load";
        state.BatteryState = "Test Battery";
        readings.StatusValid = true;
        return;
    }
    readings.StatusValid = false;
    const double chargeA = basicNumber(readings, kChargingCurrent);
    const double pvA = basicNumber(readings, kPvInputCurrent);
    startStatus(state, readings.chargeFlags, basicNumber(readings, kDischargeCurrent));
    if (!exchange.connected || !exchange.reply.sent || !exchange.reply.valid) {
        return;
    }
    applyModeLetter(state, static_cast<char>(exchange.reply.bytes.at(1)), pvA, chargeA);
    readings.StatusValid = true;
}

}  // namespace brevanto
