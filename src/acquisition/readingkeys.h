// Fixed machine names for the readings and the computed values, in their
// panels' order: what other programs (a Prometheus scrape, an MQTT state
// message, Home Assistant) key them by. They never follow the display
// names, which the user may change.
#pragma once

#include <array>

#include "acquisition/basicvariables.h"
#include "acquisition/computedvalues.h"

namespace brevanto {

inline constexpr std::array<const char*, kBasicVariableCount> kReadingKeys = {
    "ac_voltage",       "ac_frequency",          "pv_input_voltage",
    "pv_input_current", "battery_voltage",       "battery_capacity",
    "charging_current", "discharge_current",     "output_frequency",
    "output_voltage",   "output_apparent_power", "output_active_power",
    "load_percent",     "heat_sink_temperature", "bus_voltage"};

// SolarEnergy, SolarPower, LineEnergyApp, LineEnergyAct, TotalSolar, TotalLine.
inline constexpr std::array<const char*, kComputedValueCount> kComputedKeys = {
    "solar_energy_today", "solar_power",        "line_energy_apparent_today",
    "line_energy_today",  "solar_energy_total", "line_energy_total"};
inline constexpr std::array<const char*, kComputedValueCount> kComputedUnits = {
    "kWh", "W", "kWh", "kWh", "kWh", "kWh"};

}  // namespace brevanto
