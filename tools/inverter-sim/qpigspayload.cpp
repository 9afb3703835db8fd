#include "inverter-sim/qpigspayload.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string_view>

namespace brevanto::sim {
namespace {

long long powerOfTen(int exponent) {
    long long value = 1;
    for (int i = 0; i < exponent; ++i) {
        value *= 10;
    }
    return value;
}

// Rounds first and clamps after, so 99.996 in a VV.VV field shows 99.99
// rather than overflowing to 100.00.
std::string fixed(double value, int width, int decimals) {
    const int digits = decimals > 0 ? width - 1 : width;
    const long long largest = powerOfTen(digits) - 1;
    const double scaled = std::round(value * static_cast<double>(powerOfTen(decimals)));
    const long long units =
        std::isnan(scaled) ? 0 : static_cast<long long>(std::clamp(scaled, 0.0, 1e15));
    std::array<char, 24> text{};
    std::snprintf(text.data(), text.size(), "%0*lld", digits, std::min(units, largest));
    const std::string_view all(text.data(), static_cast<size_t>(digits));
    if (decimals == 0) {
        return std::string(all);
    }
    const size_t point = all.size() - static_cast<size_t>(decimals);
    return std::string(all.substr(0, point)) + "." + std::string(all.substr(point));
}

// The last three flags are the ones a monitor reads: charging at all, from
// the solar charger, from the grid.
std::string deviceStatus(const QpigsReading& reading) {
    std::string bits = "000";
    bits += reading.loadOn ? '1' : '0';
    bits += '0';
    bits += reading.charging ? '1' : '0';
    bits += reading.sccCharging ? '1' : '0';
    bits += reading.acCharging ? '1' : '0';
    return bits;
}

}  // namespace

std::string qpigsPayload(const QpigsReading& r) {
    const std::string fields[] = {
        fixed(r.gridVolts, 5, 1),
        fixed(r.gridHertz, 4, 1),
        fixed(r.outputVolts, 5, 1),
        fixed(r.outputHertz, 4, 1),
        fixed(r.apparentVa, 4, 0),
        fixed(r.activeWatts, 4, 0),
        fixed(r.loadPercent, 3, 0),
        fixed(r.busVolts, 3, 0),
        fixed(r.batteryVolts, 5, 2),
        fixed(r.chargeAmps, 3, 0),
        fixed(r.capacityPercent, 3, 0),
        fixed(r.heatSinkCelsius, 4, 0),
        fixed(r.pvAmps, 4, 0),
        fixed(r.pvVolts, 5, 1),
        fixed(r.sccVolts, 5, 2),
        fixed(r.dischargeAmps, 5, 0),
        deviceStatus(r),
        "00",
        "00",
        fixed(r.pvWatts, 5, 0),
        "010",
    };
    std::string payload;
    for (const std::string& field : fields) {
        if (!payload.empty()) {
            payload += ' ';
        }
        payload += field;
    }
    return payload;
}

}  // namespace brevanto::sim
