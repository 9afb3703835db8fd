// The running totals' file, Log/EnergyTotalSolar.csv: one CR LF line with
// the date the totals count from, the date of the write, and the total
// solar and line energy in kWh with three decimals. Read once at start-up,
// rewritten (atomically) at every day change, at the program's end and, as
// a checkpoint, within a minute of a change. A file that cannot be read is
// never overwritten: before the first write replaces it, it is renamed
// aside as "EnergyTotalSolar.csv.unreadable-<Y>-<M>-<D>", so lifetime
// totals are never silently lost. Main thread.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "platform/backgroundfilewriter.h"
#include "platform/localdatetime.h"
#include "platform/services.h"
#include "store/checkpointrecord.h"

namespace brevanto {

struct Totals {
    double solar = 0;  // TotalSolar, [A]
    double line = 0;   // TotalLine, [B]

    bool operator==(const Totals&) const = default;
};

class EnergyTotals {
public:
    EnergyTotals(const Services& services, BackgroundFileWriter& writer);
    EnergyTotals(const EnergyTotals&) = delete;
    EnergyTotals& operator=(const EnergyTotals&) = delete;

    // Log/EnergyTotalSolar.csv, relative to the root.
    static std::filesystem::path path();

    // ReadEnergyTotals: the totals the file's last line holds, and
    // TotalsSince from it. A missing file gives nothing and TotalsSince
    // today; one that cannot be read gives the box and the event "Error
    // reading Total Energy Log.", nothing, and keeps TotalsSince as it was.
    std::optional<Totals> Read(const LocalDate& today);
    // The date the file's totals count from, as the short date text; after
    // a write that had to start a new file, the date of that write.
    const std::string& TotalsSince() const { return m_since; }

    // WriteEnergyTotals, with `today` the date of the write. "Error writing
    // Total Energy Log." when it fails.
    bool Write(const Totals& totals, const LocalDate& today);
    // The same line through the writer, when it differs from the one last
    // written or handed over. A run of failures is one event line.
    void checkpoint(const Totals& totals, const LocalDate& today);

private:
    std::filesystem::path fullPath() const { return m_services.root / path(); }
    void readFailed();
    // Field 1 of the line a write gives the file now.
    std::string sinceForWrite(const LocalDate& today) const;
    std::string line(const std::string& since, const Totals& totals, const LocalDate& today) const;
    // The unreadable file out of the way; false when it is still there.
    bool setUnreadableAside(const LocalDate& today);

    const Services& m_services;
    BackgroundFileWriter& m_writer;
    std::string m_since;
    CheckpointRecord m_checkpoints;
    // The file at path() failed to read and has not been renamed aside yet.
    bool m_unreadable = false;
};

}  // namespace brevanto
