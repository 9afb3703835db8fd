// The soak: the built program, headless, against the simulator's scripted
// day of faults for 24 hours of a clock that libfaketime runs fast, shared
// by both programs. At the end the day's and the running energies the
// program wrote are set against the simulator's own integral of what it
// delivered, and the journal is searched for every fault of the script.
//
// The measuring rule (each reading's power times the time since the one
// before) has an error of its own, whatever the program does: the simulator
// works it out from the readings it served, and a day passes when the
// program's figure is within 0.5% of the truth beyond that error.
//
//   bench_soak [HOURS [RATE]]   (default 24 hours at 60 times real time)
#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/childprocess.h"
#include "support/freeport.h"
#include "support/simprocess.h"
#include "support/tempdir.h"

namespace {

namespace fs = std::filesystem;
using namespace brevanto::testing;
using namespace std::chrono_literals;

constexpr const char* kClockMarker = "BREVANTO_SOAK_CLOCK";
// The run starts a minute before its script, at noon, so the first faults
// and the midnight come with the program well settled.
constexpr const char* kStart = "2026-12-11 11:59:00";
constexpr double kAllowedShare = 0.005;
// The logs write kWh with three decimals.
constexpr double kLogResolution = 0.0005;

// The day: the household on its battery by day and on the line by night,
// two line outages, and each kind of fault twice, short and long.
constexpr const char* kScript = R"(# The soak's day, from noon to noon.
12:00:00 mode B
13:00:00 badcrc on
13:01:00 badcrc off
14:00:00 grid off
14:20:00 grid on
15:00:00 silent on
15:01:00 silent off
16:00:00 nak on
16:01:00 nak off
17:00:00 babble on
17:01:00 babble off
18:00:00 unplug
18:02:00 plug
22:00:00 mode L
02:00:00 grid off
02:15:00 grid on
03:00:00 silent on
03:00:20 silent off
06:00:00 mode B
07:30:00 babble on
07:30:30 babble off
09:00:00 unplug
09:00:30 plug
10:00:00 nak on
10:00:30 nak off
11:00:00 badcrc on
11:02:00 badcrc off
)";

// What the journal must show for each fault, in a window from its start:
// (day 1 or 2, start, seconds allowed, text the line holds).
struct Expected {
    int day;
    const char* from;
    int withinSeconds;
    const char* text;
};

constexpr Expected kJournal[] = {
    {1, "12:00:00", 60, "Inverter switched from Line-bypass to Battery: "},
    {1, "13:00:00", 60, "Error receiving main values (110/110)"},
    {1, "14:00:00", 60, "Line Fault: "},
    {1, "14:20:00", 60, "Line restored: "},
    {1, "15:00:00", 60, "Error receiving main values (0/0)"},
    {1, "15:00:00", 60, "Error receiving status (0/5)"},
    {1, "16:00:00", 60, "Error receiving main values (7/7)"},
    {1, "16:00:00", 60, "Error receiving status (5/5)"},
    {1, "17:00:00", 60, "Error receiving main values ("},
    {1, "18:00:00", 60, "lost: Input/output error."},
    {1, "18:02:00", 60, "Connected to "},
    {1, "22:00:00", 60, "Inverter switched from Battery To Line-Bypass: "},
    {2, "02:00:00", 60, "Line Fault: "},
    {2, "02:00:00", 60, "Inverter switched from Line-bypass to Battery: "},
    {2, "02:15:00", 60, "Line restored: "},
    {2, "02:15:00", 60, "Inverter switched from Battery To Line-Bypass: "},
    {2, "03:00:00", 30, "Error receiving main values (0/0)"},
    {2, "06:00:00", 60, "Inverter switched from Line-bypass to Battery: "},
    {2, "07:30:00", 30, "Error receiving main values ("},
    {2, "09:00:00", 30, "lost: Input/output error."},
    {2, "09:00:30", 60, "Connected to "},
    {2, "10:00:00", 30, "Error receiving main values (7/7)"},
    {2, "11:00:00", 60, "Error receiving main values (110/110)"},
};

std::string programPath() {
    return BREVANTO_PROGRAM_PATH;
}

// Runs this benchmark again under libfaketime's shared clock, with the
// waits libfaketime leaves unscaled scaled as well; every child inherits
// the clock.
[[noreturn]] void rerunOnFastClock(char** argv, double rate) {
    const std::string spec = std::string("@") + kStart + " x" + std::to_string(rate);
    ::setenv(kClockMarker, "1", 1);
    ::setenv("FAKETIME_DONT_RESET", "1", 1);
    ::setenv("TZ", "UTC", 1);
    ::setenv("LC_ALL", "C", 1);
    ::setenv("LD_PRELOAD", BREVANTO_CLOCK_WAITS_PATH, 1);
    std::vector<char*> arguments{const_cast<char*>("faketime"), const_cast<char*>("-m"),
                                 const_cast<char*>("-f"), const_cast<char*>(spec.c_str())};
    const std::string self = fs::read_symlink("/proc/self/exe").string();
    arguments.push_back(const_cast<char*>(self.c_str()));
    for (char** argument = argv + 1; *argument != nullptr; ++argument) {
        arguments.push_back(*argument);
    }
    arguments.push_back(nullptr);
    ::execvp("faketime", arguments.data());
    std::perror("bench_soak: cannot run faketime");
    std::exit(1);
}

long residentKb(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::atol(line.c_str() + 6);
        }
    }
    return -1;
}

struct Energy {
    double solar = 0;
    double line = 0;
    double sampledSolar = 0;
    double sampledLine = 0;
    int readings = 0;
};

// "energy 2026-12-11 solar=... line=... sampled_solar=... sampled_line=...
// readings=N; 2026-12-12 ..."
std::map<std::string, Energy> parseReport(const std::string& report) {
    std::map<std::string, Energy> days;
    std::string text = report.rfind("energy ", 0) == 0 ? report.substr(7) : std::string{};
    std::replace(text.begin(), text.end(), ';', '\n');
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        char date[32] = {};
        Energy e;
        if (std::sscanf(line.c_str(),
                        " %31s solar=%lf line=%lf sampled_solar=%lf sampled_line=%lf readings=%d",
                        date, &e.solar, &e.line, &e.sampledSolar, &e.sampledLine,
                        &e.readings) == 6) {
            days[date] = e;
        }
    }
    return days;
}

std::vector<std::string> fileLines(const fs::path& path) {
    std::vector<std::string> lines;
    std::ifstream file(path);
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> out;
    std::istringstream in(line);
    std::string field;
    while (std::getline(in, field, ',')) {
        out.push_back(field);
    }
    return out;
}

struct Written {
    double solar = 0;
    double line = 0;
};

// The day's last line in the month's energy log, by its date "MM/DD/YYYY".
std::optional<Written> writtenDay(const fs::path& energyLog, const std::string& date) {
    std::optional<Written> last;
    for (const std::string& line : fileLines(energyLog)) {
        const std::vector<std::string> f = fields(line);
        if (f.size() == 6 && f[0] == date) {
            last = Written{std::stod(f[1]), std::stod(f[3])};
        }
    }
    return last;
}

struct JournalLine {
    int day = 0;
    int second = 0;
    std::string text;
};

std::vector<JournalLine> journal(const fs::path& folder) {
    std::vector<JournalLine> lines;
    for (const auto& [day, file] :
         {std::pair{1, "Log/LogEvent/2026/12/11/EventLog11-12-2026.txt"},
          std::pair{2, "Log/LogEvent/2026/12/12/EventLog12-12-2026.txt"}}) {
        for (const std::string& line : fileLines(folder / file)) {
            int month = 0, dayOfMonth = 0, year = 0, h = 0, m = 0, s = 0;
            if (std::sscanf(line.c_str(), "[%d/%d/%d %d:%d:%d]", &month, &dayOfMonth, &year, &h, &m,
                            &s) == 6) {
                lines.push_back({day, h * 3600 + m * 60 + s, line});
            }
        }
    }
    return lines;
}

int secondOf(const char* clock) {
    int h = 0, m = 0, s = 0;
    std::sscanf(clock, "%d:%d:%d", &h, &m, &s);
    return h * 3600 + m * 60 + s;
}

// Seconds from the run's start, the day change counted.
int runSecond(int day, int second) {
    return (day - 1) * 86400 + second - secondOf(kStart + 11);
}

// The spells of the script, from the line that starts one to the line that
// ends it, as seconds from the run's start.
std::vector<std::pair<int, int>> faultSpells() {
    std::vector<std::pair<int, int>> spells;
    std::map<std::string, int> open;
    std::istringstream script(kScript);
    std::string line;
    int day = 1;
    int previous = 0;
    while (std::getline(script, line)) {
        if (line.empty() || line.front() == '#') {
            continue;
        }
        const int second = secondOf(line.c_str());
        day += second < previous ? 1 : 0;
        previous = second;
        const std::string command = line.substr(9);
        const std::string verb = command.substr(0, command.find(' '));
        const int at = runSecond(day, second);
        if (command.ends_with(" on") || command == "grid off" || command == "unplug") {
            open[verb == "unplug" ? "plug" : verb] = at;
        } else if (open.contains(verb)) {
            spells.push_back({open[verb], at});
            open.erase(verb);
        }
    }
    return spells;
}

// Error lines that no fault of the script explains: replies the program
// gave up on because the fast clock left it too little real time.
int unexplainedErrors(const std::vector<JournalLine>& lines) {
    const std::vector<std::pair<int, int>> spells = faultSpells();
    return static_cast<int>(std::count_if(lines.begin(), lines.end(), [&](const JournalLine& l) {
        const int at = runSecond(l.day, l.second);
        return l.text.find("Error receiving") != std::string::npos &&
               std::none_of(spells.begin(), spells.end(), [&](const auto& spell) {
                   return at >= spell.first && at <= spell.second + 30;
               });
    }));
}

bool journaled(const std::vector<JournalLine>& lines, const Expected& expected) {
    const int from = secondOf(expected.from);
    return std::any_of(lines.begin(), lines.end(), [&](const JournalLine& line) {
        return line.day == expected.day && line.second >= from &&
               line.second <= from + expected.withinSeconds &&
               line.text.find(expected.text) != std::string::npos;
    });
}

// One figure against the truth: passes within the allowed share beyond the
// rule's own error and the log's rounding.
bool compare(const char* what, double written, double truth, double sampled) {
    const double samplingError = sampled - truth;
    const double error = written - truth;
    const double allowed =
        kAllowedShare * std::fabs(truth) + std::fabs(samplingError) + kLogResolution;
    const bool pass = std::fabs(error) <= allowed;
    std::printf(
        "  %-22s truth %9.3f kWh  rule on the readings %9.3f (sampling error %+7.3f%%)  "
        "Brevanto %9.3f (error %+7.3f%%, %+6.3f%% from the rule)  %s\n",
        what, truth, sampled, truth != 0 ? 100.0 * samplingError / truth : 0.0, written,
        truth != 0 ? 100.0 * error / truth : 0.0,
        sampled != 0 ? 100.0 * (written - sampled) / sampled : 0.0, pass ? "ok" : "FAILED");
    return pass;
}

int soak(double hours, double rate) {
    TempDir folder;
    const fs::path link = folder.path() / "ttyINV";
    const int port = unusedPort();
    fs::copy_file(programPath(), folder.path() / "brevanto");
    writeFile(folder.path() / "script.txt", kScript);
    writeFile(folder.path() / "brevanto.INI",
              "[Main]\nAutoConnect=1\nAutoReConnect=1\nAutoSearch=0\nCOM PORT=COM1\n"
              "COM PORT index=1\nMeasTime=3\nPassword=sun\n[LogIn]\nLogBasic=1\n"
              "LogComputed=1\nLogEvent=1\nLogEnergy=1\n[Http]\nPort=" +
                  std::to_string(port) + "\n[Ports]\nCOM1=" + link.string() + "\n");

    // On the fast clock a generous guard is still short in real time.
    SimProcess sim({.linkPath = link,
                    .extraArguments = {"--script", (folder.path() / "script.txt").string()},
                    .timeout = 30min});
    ChildProcess program({(folder.path() / "brevanto").string(), "--headless", "--all-errors"},
                         {.workingDirectory = folder.path(),
                          .environment = {{"QT_QPA_PLATFORM", "offscreen"}},
                          .outputFile = folder.path() / "output.txt",
                          .endSignal = SIGTERM});
    const auto started = std::chrono::system_clock::now();
    const auto hour = std::chrono::hours(1);

    std::this_thread::sleep_for(10min);
    const long firstKb = residentKb(program.pid());
    long peakKb = firstKb;
    std::vector<long> hourly;
    const auto end = started + std::chrono::duration_cast<std::chrono::seconds>(
                                   std::chrono::duration<double, std::ratio<3600>>(hours));
    for (auto next = started + hour; next <= end; next += hour) {
        std::this_thread::sleep_until(next);
        hourly.push_back(residentKb(program.pid()));
        peakKb = std::max(peakKb, hourly.back());
    }
    std::this_thread::sleep_until(end);
    const long lastKb = residentKb(program.pid());

    const std::map<std::string, Energy> truth = parseReport(sim.command("report"));
    program.sendSignal(SIGTERM);
    const std::optional<int> status = program.waitForExit(10min);
    sim.closeInput();
    sim.waitForExit();

    std::printf("soak: %.1f simulated hours from %s (UTC), 10 s measuring interval\n", hours,
                kStart);
    std::printf("  program ended with status %d\n", status.value_or(-1));
    std::printf(
        "  resident memory: %ld kB after 10 minutes, %ld kB at the end, %ld kB at the "
        "highest [target: flat]\n",
        firstKb, lastKb, peakKb);
    std::printf("  hourly (kB):");
    for (const long kb : hourly) {
        std::printf(" %ld", kb);
    }
    std::printf("\n");

    bool pass = status == 0;
    const fs::path energyLog = folder.path() / "Log/LogEnergy/2026/12/EnergyLog_12-2026.csv";
    Energy total;
    Written written{};
    for (const auto& [date, shown] :
         {std::pair{"2026-12-11", "12/11/2026"}, std::pair{"2026-12-12", "12/12/2026"}}) {
        const auto day = truth.find(date);
        const std::optional<Written> line = writtenDay(energyLog, shown);
        if (day == truth.end() || !line) {
            std::printf("  %s: no figures (%s)\n", date,
                        day == truth.end() ? "the simulator has none" : "no energy log line");
            pass = pass && hours < 13;
            continue;
        }
        std::printf("  %s, %d readings served whole:\n", date, day->second.readings);
        pass = compare("solar energy of the day", line->solar, day->second.solar,
                       day->second.sampledSolar) &&
               pass;
        pass = compare("line energy of the day", line->line, day->second.line,
                       day->second.sampledLine) &&
               pass;
        total.solar += day->second.solar;
        total.line += day->second.line;
        total.sampledSolar += day->second.sampledSolar;
        total.sampledLine += day->second.sampledLine;
        written.solar += line->solar;
        written.line += line->line;
    }
    const std::vector<std::string> totalsLines =
        fileLines(folder.path() / "Log/EnergyTotalSolar.csv");
    const std::vector<std::string> totals =
        totalsLines.empty() ? std::vector<std::string>{} : fields(totalsLines.back());
    if (totals.size() == 4) {
        std::printf("  running totals:\n");
        pass =
            compare("total solar energy", std::stod(totals[2]), total.solar, total.sampledSolar) &&
            pass;
        pass = compare("total line energy", std::stod(totals[3]), total.line, total.sampledLine) &&
               pass;
    } else {
        std::printf("  running totals: the totals file cannot be read\n");
        pass = false;
    }

    const std::vector<JournalLine> lines = journal(folder.path());
    const double coveredSeconds = hours * 3600.0;
    int checked = 0;
    int found = 0;
    for (const Expected& expected : kJournal) {
        const int at = runSecond(expected.day, secondOf(expected.from));
        if (at + expected.withinSeconds > coveredSeconds) {
            continue;
        }
        ++checked;
        if (journaled(lines, expected)) {
            ++found;
        } else {
            std::printf("  not journaled: day %d from %s: \"%s\"\n", expected.day, expected.from,
                        expected.text);
        }
    }
    std::printf("  faults journaled: %d of %d expected lines found, %zu journal lines in all\n",
                found, checked, lines.size());
    std::printf(
        "  reading errors outside the script's faults: %d (replies given up on: at %.0f times "
        "real time a 1 s wait is %.0f ms)\n",
        unexplainedErrors(lines), rate, 1000.0 / rate);
    pass = pass && found == checked;
    std::printf("soak %s\n", pass ? "passed" : "FAILED");
    if (!pass || std::getenv("BREVANTO_SOAK_KEEP") != nullptr) {
        const fs::path kept = fs::temp_directory_path() / "brevanto-soak";
        fs::remove_all(kept);
        fs::copy(folder.path(), kept, fs::copy_options::recursive);
        std::printf("  the run's folder is kept in %s\n", kept.c_str());
    }
    return pass ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const double hours = argc > 1 ? std::max(0.5, std::atof(argv[1])) : 24.0;
    const double rate = argc > 2 ? std::max(1.0, std::atof(argv[2])) : 60.0;
    if (std::getenv(kClockMarker) == nullptr) {
        rerunOnFastClock(argv, rate);
    }
    return soak(hours, rate);
}
