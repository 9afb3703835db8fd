// The energy log: one file per month, Log/LogEnergy/<Y>/<M>/EnergyLog_<M>-<Y>.csv,
// one CR LF line per day's end and per run's end: the date, the day's solar
// energy, the day's line energy (apparent, active) and the two totals, in kWh
// with three decimals. While the day runs, its line is kept up to date as
// the file's last line (a checkpoint), so a power cut loses at most the last
// minute; the run's end and the day change write the final line in its
// place. Every write replaces the whole file atomically: the lines it had
// when it was named, the final lines of this run, and the checkpoint line.
// The table shows the month's lines as they were loaded at start-up. Main
// thread.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "platform/backgroundfilewriter.h"
#include "platform/localdatetime.h"
#include "platform/services.h"
#include "store/checkpointrecord.h"
#include "store/logtable.h"

namespace brevanto {

struct DayEnergy {
    double solar = 0;    // SolarEnergy
    double lineApp = 0;  // LineEnergyApp
    double lineAct = 0;  // LineEnergyAct

    bool operator==(const DayEnergy&) const = default;
};

struct EnergyLine {
    LocalDate date;  // the day whose counters these are
    DayEnergy day;
    double totalSolar = 0;
    double totalLine = 0;

    bool operator==(const EnergyLine&) const = default;
};

class EnergyLog {
public:
    static constexpr int kColumns = 6;

    EnergyLog(const Services& services, BackgroundFileWriter& writer);
    EnergyLog(const EnergyLog&) = delete;
    EnergyLog& operator=(const EnergyLog&) = delete;

    LogTable& table() { return m_table; }
    const LogTable& table() const { return m_table; }

    // NameEnergyLog: this month's file, with its directories made, or
    // "EmergencyNameEnergy<M>-<Y>.csv" in the root. Returns the month, "3".
    // The file's whole lines are kept from here on: every later write
    // rewrites the file and carries them.
    std::string Name(const LocalDate& today);
    const std::string& EnergyMonth() const { return m_month; }
    const std::filesystem::path& currentPath() const { return m_path; }

    // LoadEnergyLog: the month's lines into the table (a blank line is no
    // row, a torn last line is left out), the caption
    // "Month = <M> (updated at midnight)", the count, and, when the last line
    // is dated today, the day's counters it holds. A missing file gives
    // nothing and no message; a file that cannot be read, or a last line
    // whose date or counters do not read, gives the box and the event
    // "Error reading Energy log file." and nothing.
    struct Loaded {
        bool read = false;
        std::optional<DayEnergy> today;
    };
    Loaded Load(const LocalDate& today);

    // WriteEnergyLog: the final line of a day or of the run, in place of the
    // day's checkpoint line if this run wrote one. "Error writing Energy
    // Log." when the file cannot be written; the line is kept for the next
    // write either way.
    bool Write(const EnergyLine& line);
    // The checkpoint: `line` becomes the file's last line through the
    // writer, in place of this run's previous checkpoint line. Nothing is
    // written when it equals this run's last checkpoint line; a run of
    // failures is one event line.
    void checkpoint(const EnergyLine& line);

    // The day change: the table emptied, the caption renewed.
    void empty();

private:
    std::string formatLine(const EnergyLine& line) const;
    std::string caption() const;
    // The day's counters from the table's last row, when it is today's.
    Loaded restoreToday(const LocalDate& today);
    Loaded readFailed();

    const Services& m_services;
    BackgroundFileWriter& m_writer;
    LogTable m_table;
    std::filesystem::path m_path;
    std::string m_month;
    // The file's lines that stay, each with its line end; this run's
    // checkpoint line, when there is one, follows them on the disk.
    std::string m_kept;
    // The named file exists but could not be read: writing it would lose
    // its lines, so it is left alone.
    bool m_unreadable = false;
    CheckpointRecord m_checkpoints;
};

}  // namespace brevanto
