// The program as it runs for months: the built program, connected to the
// paced simulator at one reading a second, watched for 60 s after it has
// settled. Prints its share of one core and its resident memory.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "support/programprocess.h"
#include "support/simprocess.h"
#include "support/tempdir.h"

namespace {

using namespace std::chrono_literals;
constexpr auto kSettle = 5s;
constexpr auto kWatch = 60s;

// utime + stime in seconds.
double cpuSeconds(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    unsigned long long utime = 0;
    unsigned long long stime = 0;
    for (int i = 3; fields >> field; ++i) {
        if (i == 14) {
            utime = std::stoull(field);
        } else if (i == 15) {
            stime = std::stoull(field);
            break;
        }
    }
    return static_cast<double>(utime + stime) / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

long statusKb(pid_t pid, const std::string& key) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with(key + ":")) {
            return std::stol(line.substr(key.size() + 1));
        }
    }
    return -1;
}

}  // namespace

int main() {
    using namespace brevanto::testing;
    TempDir folder;
    SimProcess sim({.pacing = true});
    // Port 0 names no port: the program runs without its web server, which
    // idles unasked anyway, and takes no port from anything beside it.
    writeFile(folder / "brevanto.INI",
              "[Main]\nAutoConnect=1\nAutoSearch=0\nCOM PORT=COM1\nCOM PORT "
              "index=1\nMeasTime=0\n[Http]\nPort=0\n"
              "[Ports]\nCOM1=" +
                  sim.linkPath().string() + "\n");
    ProgramProcess program(BREVANTO_PROGRAM_PATH, folder.path());
    std::this_thread::sleep_for(kSettle);
    const double cpuBefore = cpuSeconds(program.pid());
    const auto started = std::chrono::steady_clock::now();
    long maxRss = 0;
    while (std::chrono::steady_clock::now() - started < kWatch) {
        std::this_thread::sleep_for(1s);
        maxRss = std::max(maxRss, statusKb(program.pid(), "VmRSS"));
    }
    const double cpu = cpuSeconds(program.pid()) - cpuBefore;
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const long peak = statusKb(program.pid(), "VmHWM");
    program.sendSignal(SIGTERM);
    const int status = program.waitForExit();

    std::printf("60 s connected to the paced simulator, one reading a second (offscreen)\n");
    std::printf("  CPU %.2f%% of one core   (target: under 2%%)\n", 100.0 * cpu / wall);
    std::printf("  resident %.1f MB, peak %.1f MB   (target: under 80 MB)\n", maxRss / 1024.0,
                peak / 1024.0);
    std::printf("  ended by SIGTERM with status %d\n", status);
    // The journal written at the end says whether it really was connected.
    bool connected = false;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder / "Log")) {
        if (entry.is_regular_file() &&
            readFile(entry.path()).find(" port and Inverter.") != std::string::npos) {
            connected = true;
        }
    }
    std::printf("  connected to the simulator: %s\n", connected ? "yes" : "NO (figures void)");
    return 0;
}
