// The server beside a reading thread that cycles against the simulator, with
// this test's thread as the main thread: the wake-up in the "requested by
// web" mode, and many requests at once while the main thread rewrites the
// page and the journal.
#include <atomic>
#include <memory>
#include <thread>

#include <gtest/gtest.h>

#include "acquisition/measurementcycle.h"
#include "acquisition/readplot.h"
#include "curlclient.h"
#include "platform/testing/recordingeventsink.h"
#include "support/childprocess.h"
#include "support/simprocess.h"
#include "support/waituntil.h"
#include "webserverfixture.h"

namespace brevanto {
namespace {

using namespace std::chrono_literals;
using testing::curl;
using testing::waitUntil;
using testing::WebServerFixture;

class WebReadingTest : public ::testing::Test {
protected:
    WebReadingTest() {
        linkState.setPhase(LinkPhase::Running);
        linkState.setLabelCaption("Connected");
        cycle.configure({0, " (Refresh = 1 sec.)"});
        cycle.timeBase().restart();
        web.setResumeReader([this] {
            if (reader && reader->Suspended()) {
                reader->Resume();
            }
        });
    }

    ~WebReadingTest() override { stopReader(); }

    void startReader(bool reqByWeb) {
        ASSERT_EQ(link.open(sim.linkPath().string()), 0);
        reqByWebGate = reqByWeb;
        reader =
            std::make_unique<ReadPlot>([this] { cycle.ReadInverter(); },
                                       [this] {
                                           return ReadPlot::Gates{reqByWebGate.load(), false, 0};
                                       });
    }

    // The server goes first, so that no connection thread still reaches for
    // the reader; a cycle under way wants the main thread until it ends.
    void stopReader() {
        web.server.deactivate();
        if (!reader) {
            return;
        }
        reader->Terminate();
        std::atomic<bool> ended{false};
        std::thread joiner([&] {
            reader->WaitFor();
            ended = true;
        });
        EXPECT_TRUE(waitUntil([&] { return ended.load(); }, web.mainThread));
        joiner.join();
        reader.reset();
    }

    testing::SimProcess sim;
    WebServerFixture web;
    testing::RecordingPrompts prompts;
    testing::RecordingEventSink lineEvents;
    LinkState linkState;
    InverterLink link{prompts, lineEvents, [this] { return linkState.connected(); },
                      [] { return true; }};
    Services services{web.clock, web.format, prompts, web.mainThread, lineEvents, {}};
    MeasurementCycle cycle{services, link, linkState};
    const InverterReadings& readings = cycle.readings();
    std::atomic<bool> reqByWebGate{false};
    std::unique_ptr<ReadPlot> reader;
};

TEST_F(WebReadingTest, AMainPageRequestWakesASuspendedReaderOnceWithoutWaitingForIt) {
    startReader(true);
    web.reqByWeb = true;
    web.start();
    // Connecting runs the first cycle, after which the thread suspends.
    reader->Resume();
    ASSERT_TRUE(
        waitUntil([&] { return reader->LoopCount() == 1 && reader->Suspended(); }, web.mainThread));

    for (const char* path : {"/Timer", "/DataLog"}) {
        ASSERT_EQ(curl({web.url(path)}).status, 200);
        EXPECT_TRUE(reader->Suspended()) << path << " must not wake the reader";
    }
    ASSERT_EQ(curl({"--head", web.url("/")}).status, 200);
    EXPECT_TRUE(reader->Suspended());

    // The cycle cannot end until this thread serves it, so the page came
    // back before the reading did.
    ASSERT_EQ(curl({web.url("/")}).status, 200);
    EXPECT_FALSE(reader->Suspended());
    EXPECT_EQ(reader->LoopCount(), 1);
    ASSERT_TRUE(
        waitUntil([&] { return reader->LoopCount() == 2 && reader->Suspended(); }, web.mainThread));
    EXPECT_TRUE(readings.MainValuesValid);

    web.reqByWeb = false;
    ASSERT_EQ(curl({web.url("/")}).status, 200);
    EXPECT_TRUE(reader->Suspended()) << "only the requested-by-web mode wakes the reader";
    EXPECT_EQ(reader->LoopCount(), 2);
}

// A value line carries its own length, so a torn line shows.
std::string valueLine(int cycleNumber, std::size_t length) {
    return std::to_string(length) + ":" + std::to_string(cycleNumber) + ":" +
           std::string(length, 'v');
}

bool wholeValueLine(const std::string& line) {
    if (line.starts_with("    BVar")) {
        return true;
    }
    const auto lengthEnd = line.find(':');
    const auto valueStart = line.find(':', lengthEnd + 1);
    if (lengthEnd == std::string::npos || valueStart == std::string::npos) {
        return false;
    }
    const std::string value = line.substr(valueStart + 1);
    return std::to_string(value.size()) == line.substr(0, lengthEnd) &&
           value.find_first_not_of('v') == std::string::npos;
}

std::vector<std::string> lines(const std::string& page) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (std::size_t end = page.find('\n'); end != std::string::npos;
         end = page.find('\n', start)) {
        out.push_back(page.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

// curl fetching `count` copies of one request, ten at a time; the bodies.
std::vector<std::string> fetchInParallel(const testing::TempDir& dir, const std::string& name,
                                         int count, const std::vector<std::string>& request,
                                         const std::string& url) {
    std::vector<std::string> argv{"curl",       "--silent",   "--show-error",   "--noproxy",
                                  "*",          "--parallel", "--parallel-max", "10",
                                  "--max-time", "60"};
    argv.insert(argv.end(), request.begin(), request.end());
    for (int i = 0; i < count; ++i) {
        argv.insert(argv.end(), {"-o", (dir / (name + std::to_string(i))).string(), url});
    }
    const auto run = testing::runToExit(argv, 120s);
    EXPECT_EQ(run.exitStatus, 0) << run.errors;
    std::vector<std::string> bodies;
    for (int i = 0; i < count; ++i) {
        bodies.push_back(testing::readFile(dir / (name + std::to_string(i))));
    }
    return bodies;
}

TEST_F(WebReadingTest, ManyRequestsAtOnceSeeOnlyWholeLinesAndLoseNoVisit) {
    constexpr int kPages = 60;
    constexpr int kForms = 10;
    startReader(false);
    web.start();
    reader->Resume();
    web.eventLog.WriteEvent("Connected");
    const std::string form =
        "C1TA=ON&TAON=06.00.00&TAOFF=07.00.00&TBON=08.00.00&TBOFF=09.00.00&TCON=10.00.00&"
        "TCOFF=11.00.00&TDON=12.00.00&TDOFF=13.00.00&T2=&B1=Submit";

    std::vector<std::string> pages, timerPages, forms, listings;
    std::atomic<int> clientsRunning{4};
    std::vector<std::thread> clients;
    // The page fetches go on in batches until the reader has cycled beside
    // them a few times; the posts, which each cost the main thread a few
    // saves, go once.
    const auto client = [&](std::vector<std::string>& into, std::string name, int count,
                            std::vector<std::string> request, std::string path, bool repeat) {
        clients.emplace_back([&, name, count, request, path, repeat] {
            do {
                const auto bodies = fetchInParallel(web.dir, name, count, request, web.url(path));
                into.insert(into.end(), bodies.begin(), bodies.end());
            } while (repeat && reader->LoopCount() < 3);
            --clientsRunning;
        });
    };
    client(pages, "main", kPages, {}, "/", true);
    client(timerPages, "timer", 10, {}, "/Timer", true);
    client(forms, "form", kForms, {"--data-binary", form}, "/", false);
    client(listings, "log", 10, {"--data-binary", "T1=log"}, "/", false);

    // The main thread meanwhile: the readings' hand-overs, the posted timer
    // forms, and an UpdateDisplay of every value line with texts of every
    // length, plus a journal line now and then.
    const TemplateLines& at = web.pages.TemplateLine();
    int round = 0;
    while (clientsRunning > 0) {
        web.mainThread.runUntil([&] { return clientsRunning == 0; }, 5ms);
        ++round;
        for (std::size_t k = 0; k < at.bVar.size(); ++k) {
            web.pages.MainPage().setLine(at.bVar[k], valueLine(round, (round * 37 + k) % 3000));
        }
        web.pages.MainPage().setLine(at.timeStamp, readings.MeasTimeText);
        if (round % 10 == 0) {
            web.eventLog.WriteEvent("main thread " + std::to_string(round));
        }
    }
    for (auto& thread : clients) {
        thread.join();
    }
    web.mainThread.runPending();

    for (const std::string& page : pages) {
        const auto pageLines = lines(page);
        ASSERT_EQ(pageLines.size(), 237u);
        for (std::size_t k = 0; k < at.bVar.size(); ++k) {
            ASSERT_TRUE(wholeValueLine(pageLines[at.bVar[k]])) << pageLines[at.bVar[k]].size();
        }
    }
    const std::string timerPage = RenderPage(web.pages.TimerPage());
    for (const std::string& page : timerPages) {
        EXPECT_EQ(page, timerPage);
    }
    for (const std::string& answer : forms) {
        EXPECT_EQ(answer, timerPage) << "every time read: no error paragraph";
    }
    for (const std::string& listing : listings) {
        EXPECT_TRUE(listing.starts_with(R"(<p align="left">)") && listing.ends_with("</p>"));
    }
    // The forms that waited together were saved together.
    EXPECT_GE(web.saves.load(), 1);
    EXPECT_LE(web.saves.load(), static_cast<int>(forms.size()));
    EXPECT_EQ(web.store.AppSettings().timeOff[3].time, (TimeOfDay{13, 0, 0, 0}));

    int visitLines = 0;
    for (const std::string& line : web.events()) {
        if (line.find("[ipstart]127.0.0.1[ipend]") != std::string::npos) {
            ++visitLines;
            EXPECT_TRUE(line.ends_with("[CS]" + std::to_string(pages.size()) + "[CE]")) << line;
        }
    }
    EXPECT_EQ(visitLines, 1);
}

}  // namespace
}  // namespace brevanto
