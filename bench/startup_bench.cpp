// Start-up to the first shown window: each run is a fresh process of this
// benchmark that starts the program exactly as main() does (on the offscreen
// platform, in an empty folder, without auto-connect) and reports when the
// main window is exposed. The time counts from just before the exec, so
// loading Qt and the program is in it.
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <QTest>
#include <QWindow>

#include "app/brevantoapplication.h"
#include "app/brevantoprogram.h"
#include "app/shutdownsignals.h"
#include "app/startfolders.h"
#include "support/tempdir.h"
#include "ui/amethyststyle.h"

namespace {

constexpr int kRuns = 10;

double monotonicMs() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

int child(int argc, char** argv, int reportFd) {
    using namespace brevanto;
    BrevantoApplication application(argc, argv);
    ShutdownSignals shutdownSignals;
    applyAmethystStyle(application);
    SystemClock clock;
    BrevantoProgram program(application, shutdownSignals, clock, startFolders());
    program.show();
    QWidget& window = program.mainWindow();
    if (!QTest::qWaitForWindowExposed(&window, 10000)) {
        return 1;
    }
    const double shown = monotonicMs();
    [[maybe_unused]] const ssize_t written = ::write(reportFd, &shown, sizeof shown);
    ::_exit(0);
}

double runOnce(const char* self, const std::filesystem::path& folder) {
    int fds[2];
    if (::pipe(fds) != 0) {
        std::perror("pipe");
        std::exit(1);
    }
    const double started = monotonicMs();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        if (::chdir(folder.c_str()) != 0) {
            ::_exit(1);
        }
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        const std::string fd = std::to_string(fds[1]);
        ::execl(self, self, "--child", fd.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(fds[1]);
    double shown = 0;
    const ssize_t got = ::read(fds[0], &shown, sizeof shown);
    ::close(fds[0]);
    ::waitpid(pid, nullptr, 0);
    return got == sizeof shown ? shown - started : -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--child") {
        return child(argc, argv, std::atoi(argv[2]));
    }
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        brevanto::testing::TempDir folder;
        times.push_back(runOnce("/proc/self/exe", folder.path()));
    }
    std::sort(times.begin(), times.end());
    std::printf("start-up to the shown main window (offscreen, %d runs, exec included)\n", kRuns);
    std::printf("  min %.1f ms   median %.1f ms   max %.1f ms   (target: under 500 ms)\n",
                times.front(), times[times.size() / 2], times.back());
    return 0;
}
