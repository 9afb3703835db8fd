// The inverter's side of the conversation: the reply each command frame earns,
// shaped by the console's settings (mode, fixed or scripted replies, faults).
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "inverter-sim/consolecommand.h"
#include "inverter-sim/plantmodel.h"

namespace brevanto::sim {

// A plausible serial number of the 14 digits real units report.
constexpr std::string_view kSerialNumber = "92932004102453";

// What the last frame earned, for the energy ledger: a proof of presence, a
// reading of the day's values, or neither.
struct ServedAnswer {
    bool connectProof = false;            // QID answered as asked
    std::optional<QpigsReading> reading;  // the day's values, with a right check
    bool onLine = false;                  // the load runs from the line
};

class Responder {
public:
    explicit Responder(uint64_t seed);

    void apply(const SetMode& change);
    void apply(const SetQpigs& change);
    void apply(const QueueRaw& change);
    void apply(const SetSilent& change);
    void apply(const SetBadCrc& change);
    void apply(const SetGrid& change);
    void apply(const SetNak& change);

    // frame is what arrived before the CR: command text and two check bytes.
    // No value means the inverter stays silent.
    std::optional<std::vector<uint8_t>> reply(std::span<const uint8_t> frame,
                                              double secondsSinceMidnight);
    const ServedAnswer& lastServed() const { return m_served; }
    // Line mode needs the line: during an outage the unit runs on its battery.
    bool onLine() const { return m_mode == 'L' && m_gridOn; }
    const PlantModel& plant() const { return m_plant; }

private:
    std::vector<uint8_t> answer(std::string_view command, double secondsSinceMidnight);

    PlantModel m_plant;
    char m_mode = 'L';
    std::optional<std::string> m_fixedQpigs;
    std::map<std::string, std::deque<std::vector<uint8_t>>, std::less<>> m_raw;
    bool m_silent = false;
    bool m_badCrc = false;
    bool m_gridOn = true;
    bool m_nak = false;
    ServedAnswer m_served;
};

// Which command a frame carries, if its check is right.
std::optional<std::string_view> checkedCommand(std::span<const uint8_t> frame);

// A low check byte that is wrong yet never reads as "(", CR or LF, so the
// spoilt reply keeps its length and framing; it is also never one off the
// right byte, which a lenient reader might take for the adjusted value.
uint8_t spoiltCheckByte(uint8_t right);

}  // namespace brevanto::sim
