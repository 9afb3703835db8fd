// One set of QPIGS values and its text as real units send it: 21 fixed-width,
// zero-padded fields, always 106 characters, so the frame is always 110 bytes.
#pragma once

#include <string>

namespace brevanto::sim {

constexpr size_t kQpigsPayloadLength = 106;

struct QpigsReading {
    double gridVolts = 0;
    double gridHertz = 0;
    double outputVolts = 0;
    double outputHertz = 0;
    double apparentVa = 0;
    double activeWatts = 0;
    double loadPercent = 0;
    double busVolts = 0;
    double batteryVolts = 0;
    double chargeAmps = 0;
    double capacityPercent = 0;
    double heatSinkCelsius = 0;
    double pvAmps = 0;
    double pvVolts = 0;
    double sccVolts = 0;
    double dischargeAmps = 0;
    bool loadOn = false;
    bool charging = false;
    bool sccCharging = false;
    bool acCharging = false;
    double pvWatts = 0;
};

// Values outside a field's width are clamped to the nearest it can show.
std::string qpigsPayload(const QpigsReading& reading);

}  // namespace brevanto::sim
