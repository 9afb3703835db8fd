// The main page under load: wrk with 50 connections for 20 s against the web
// server while a reading thread cycles every second against the paced
// simulator and the main thread rewrites the page's value lines after each
// cycle; then the same against nginx serving the same page as a static file
// on another loopback port. Prints requests per second, p99 latency and the
// ratio of the two. Skipped, with a message, without wrk or nginx.
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cctype>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <thread>

#include "acquisition/measurementcycle.h"
#include "acquisition/readplot.h"
#include "platform/clock.h"
#include "platform/testing/recordingeventsink.h"
#include "rawconnection.h"
#include "support/childprocess.h"
#include "support/simprocess.h"
#include "support/waituntil.h"
#include "web/listensocket.h"
#include "webserverfixture.h"

namespace brevanto {
namespace {

using namespace std::chrono_literals;

constexpr int kConnections = 50;
constexpr const char* kDuration = "20s";
constexpr double kTargetP99Ms = 10.0;
constexpr double kTargetShareOfNginx = 0.30;
// A guard against a hang, past the guard of the wrk run itself.
constexpr auto kServeGuard = 150s;

struct WrkFigures {
    double requestsPerSecond = 0;
    double p99Ms = 0;
    std::string problems;  // socket errors, non-2xx answers
};

double milliseconds(double value, const std::string& unit) {
    if (unit == "us") {
        return value / 1000.0;
    }
    if (unit == "s") {
        return value * 1000.0;
    }
    return value;
}

// The number after `label` in wrk's report, and the unit right behind it.
std::optional<std::pair<double, std::string>> figureAfter(const std::string& report,
                                                          const std::string& label) {
    const auto at = report.find(label);
    if (at == std::string::npos) {
        return std::nullopt;
    }
    const char* start = report.c_str() + at + label.size();
    char* end = nullptr;
    const double value = std::strtod(start, &end);
    if (end == start) {
        return std::nullopt;
    }
    std::string unit;
    while (std::isalpha(static_cast<unsigned char>(*end))) {
        unit += *end++;
    }
    return std::make_pair(value, unit);
}

std::string lineWith(const std::string& report, const std::string& text) {
    const auto at = report.find(text);
    return at == std::string::npos ? std::string() : report.substr(at, report.find('\n', at) - at);
}

std::optional<WrkFigures> runWrk(const std::string& url) {
    const auto run = testing::runToExit(
        {"wrk", "-t2", "-c" + std::to_string(kConnections), "-d", kDuration, "--latency", url},
        120s);
    const auto requests = figureAfter(run.output, "Requests/sec:");
    const auto p99 = figureAfter(run.output, "\n     99%");
    if (run.exitStatus != 0 || !requests || !p99) {
        std::fprintf(stderr, "wrk failed on %s:\n%s%s\n", url.c_str(), run.output.c_str(),
                     run.errors.c_str());
        return std::nullopt;
    }
    WrkFigures figures;
    figures.requestsPerSecond = requests->first;
    figures.p99Ms = milliseconds(p99->first, p99->second);
    figures.problems = lineWith(run.output, "Socket errors") + lineWith(run.output, "Non-2xx");
    return figures;
}

int freePort() {
    const ListenSocket probe = openListenSocket(0, 1);
    ::close(probe.fd);
    return probe.port;
}

bool waitForListener(int port) {
    return testing::waitUntil([port] { return testing::RawConnection(port).connected(); },
                              testing::pauseBriefly);
}

// nginx with the same page as its only file, tuned as one would for static
// files: all cores, no access log, connections kept open.
std::unique_ptr<testing::ChildProcess> startNginx(const testing::TempDir& dir,
                                                  const std::string& page, int port) {
    // Its workers may run as another user; they must reach the file.
    ::chmod(dir.path().c_str(), 0755);
    std::filesystem::create_directory(dir / "www");
    testing::writeFile(dir / "www" / "index.html", page);
    ::chmod((dir / "www").c_str(), 0755);
    ::chmod((dir / "www" / "index.html").c_str(), 0644);
    const std::string root = dir.path().string();
    testing::writeFile(dir / "nginx.conf",
                       "worker_processes auto;\n"
                       "daemon off;\n"
                       "pid " +
                           root +
                           "/nginx.pid;\n"
                           "error_log " +
                           root +
                           "/error.log warn;\n"
                           "events { worker_connections 1024; }\n"
                           "http {\n"
                           "  access_log off;\n"
                           "  keepalive_requests 100000000;\n"
                           "  default_type text/html;\n"
                           "  charset utf-8;\n"
                           "  server {\n"
                           "    listen 127.0.0.1:" +
                           std::to_string(port) +
                           ";\n"
                           "    root " +
                           root +
                           "/www;\n"
                           "    index index.html;\n"
                           "  }\n"
                           "}\n");
    // SIGTERM first: nginx's master then takes its workers down with it.
    auto nginx = std::make_unique<testing::ChildProcess>(
        std::vector<std::string>{"nginx", "-p", root, "-c", root + "/nginx.conf"},
        testing::ChildProcess::Options{.outputFile = dir / "nginx.out", .endSignal = SIGTERM});
    if (!waitForListener(port)) {
        std::fprintf(stderr, "nginx did not start:\n%s\n",
                     testing::readFile(dir / "error.log").c_str());
        return nullptr;
    }
    return nginx;
}

// The reading thread at a 1 s interval against the paced simulator, and a
// main thread that serves its hand-overs and, after each cycle, rewrites
// the page's value lines as UpdateDisplay does.
class LiveReadings {
public:
    explicit LiveReadings(testing::WebServerFixture& web)
        : m_web(web),
          m_services{m_clock, web.format, m_prompts, web.mainThread, m_lineEvents, {}},
          m_cycle(m_services, m_link, m_linkState) {
        m_linkState.setPhase(LinkPhase::Running);
        m_cycle.configure({1, " (Refresh = 1 sec.)"});
        m_cycle.timeBase().restart();
    }

    bool start() {
        if (m_link.open(m_sim.linkPath().string()) != 0) {
            return false;
        }
        m_reader = std::make_unique<ReadPlot>([this] { m_cycle.ReadInverter(); },
                                              [] {
                                                  return ReadPlot::Gates{false, false, 1000};
                                              });
        m_reader->Resume();
        return true;
    }

    // Serves the main thread until `done` holds, rewriting the page after
    // each cycle; the guard leaves room for the whole wrk run.
    bool serveUntil(const std::function<bool()>& done) {
        int shown = -1;
        return testing::waitUntil(
            done,
            [&] {
                m_web.mainThread.runUntil(done, 20ms);
                if (m_reader->LoopCount() != shown) {
                    shown = m_reader->LoopCount();
                    updateDisplay();
                }
            },
            kServeGuard);
    }

    int cycles() const { return m_reader->LoopCount(); }

    void stop() {
        m_reader->Terminate();
        std::atomic<bool> ended{false};
        std::thread joiner([&] {
            m_reader->WaitFor();
            ended = true;
        });
        testing::waitUntil([&] { return ended.load(); }, m_web.mainThread);
        joiner.join();
    }

private:
    void updateDisplay() {
        const InverterReadings& readings = m_cycle.readings();
        const TemplateLines& at = m_web.pages.TemplateLine();
        PageTemplate& page = m_web.pages.MainPage();
        for (std::size_t k = 0; k < at.bVar.size(); ++k) {
            page.setLine(at.bVar[k], readings.basic[k + 1]);
        }
        page.setLine(at.modeStatus, readings.state.InverterMode);
        page.setLine(at.timeStamp, readings.MeasTimeText);
    }

    testing::WebServerFixture& m_web;
    testing::SimProcess m_sim{{.pacing = true}};
    testing::RecordingPrompts m_prompts;
    testing::RecordingEventSink m_lineEvents;
    SystemClock m_clock;
    LinkState m_linkState;
    InverterLink m_link{m_prompts, m_lineEvents, [this] { return m_linkState.connected(); },
                        [] { return true; }};
    Services m_services;
    MeasurementCycle m_cycle;
    std::unique_ptr<ReadPlot> m_reader;
};

void printFigures(const char* name, const WrkFigures& figures) {
    std::printf("%-22s %14.0f %12.2f  %s\n", name, figures.requestsPerSecond, figures.p99Ms,
                figures.problems.c_str());
}

int run() {
    for (const char* program : {"wrk", "nginx"}) {
        if (!testing::programAvailable(program)) {
            std::printf("skipped: %s is not installed (scripts/install-deps installs it)\n",
                        program);
            return 0;
        }
    }
    testing::WebServerFixture web;
    LiveReadings live(web);
    if (!live.start() || !web.server.activate(0)) {
        std::fprintf(stderr, "cannot start the reading thread or the server: %s\n",
                     web.server.failureReason().c_str());
        return 1;
    }
    // The page nginx serves: the main page after the first cycle.
    if (!live.serveUntil([&] { return live.cycles() >= 1; })) {
        std::fprintf(stderr, "the reading thread finished no cycle\n");
        live.stop();
        return 1;
    }
    const std::string page = RenderPage(web.pages.MainPage());

    std::atomic<bool> done{false};
    std::optional<WrkFigures> ours;
    std::thread load([&] {
        ours = runWrk(web.url("/"));
        done = true;
    });
    // Not checked: wrk's own guard ends the load, and with it the wait.
    live.serveUntil([&] { return done.load(); });
    load.join();
    const int cycles = live.cycles();
    live.stop();
    web.server.deactivate();

    testing::TempDir nginxDir;
    const int nginxPort = freePort();
    auto nginx = startNginx(nginxDir, page, nginxPort);
    const auto reference =
        nginx ? runWrk("http://127.0.0.1:" + std::to_string(nginxPort) + "/") : std::nullopt;
    if (!ours || !reference) {
        return 1;
    }

    std::printf("main page, %zu bytes, wrk -t2 -c%d -d%s; %d reading cycles during the run\n",
                page.size(), kConnections, kDuration, cycles);
    std::printf("%-22s %14s %12s\n", "server", "requests/s", "p99 ms");
    printFigures("brevanto", *ours);
    printFigures("nginx (static file)", *reference);
    const double share = ours->requestsPerSecond / reference->requestsPerSecond;
    std::printf("ratio brevanto/nginx   %13.0f%%   (target >= %.0f%%)\n", share * 100.0,
                kTargetShareOfNginx * 100.0);
    std::printf("p99 brevanto           %11.2f ms   (target < %.0f ms)\n", ours->p99Ms,
                kTargetP99Ms);
    return 0;
}

}  // namespace
}  // namespace brevanto

int main() {
    return brevanto::run();
}
