// The hub with its web server: a browser's request gets the readings the
// window shows, counts as a visit, and a timer form reaches the settings
// file, all without a request ever waiting for the main thread.
#include <gtest/gtest.h>

#include "curlclient.h"
#include "hubfixture.h"
#include "support/childprocess.h"
#include "support/tempdir.h"

namespace brevanto {
namespace {

using testing::curl;
using testing::HubFixture;

class HubWebTest : public HubFixture {
protected:
    void startServing(const std::string& ini) {
        serveWeb = true;
        start("[Http]\nPort=0\n" + ini);
        hub->FormCreate();
        WebServer* server = hub->web().server();
        ASSERT_NE(server, nullptr);
        ASSERT_TRUE(server->isActive());
        url = "http://127.0.0.1:" + std::to_string(server->boundPort());
    }
    // Whether a timer form with `password` gets through: its work is posted
    // before its answer goes out, so serving the inbox once tells.
    bool formGetsThrough(const std::string& password) {
        const auto reply = curl(
            {url + "/", "--data-binary", "C1TA=ON&TAON=07.00.00&TAOFF=19.30.00&T2=" + password});
        EXPECT_EQ(reply.status, 200) << reply.error;
        invoker.runPending();
        const bool through = hub->settings().AppSettings().timerEnabled[0];
        hub->settings().AppSettings().timerEnabled[0] = false;
        return through;
    }

    std::string url;
};

TEST_F(HubWebTest, TheMainPageCarriesTheHeadingAndTheVisitIsCounted) {
    startServing("Title=Cabin by the lake\n");
    const auto reply = curl({url + "/"});
    ASSERT_EQ(reply.status, 200) << reply.error;
    EXPECT_NE(reply.body.find("\nCabin by the lake\n"), std::string::npos);
    EXPECT_NE(reply.body.find("\nBrevanto v. 1.1.7.1 - by CorvellaSoft - "), std::string::npos);
    ASSERT_EQ(events().size(), 1u);
    EXPECT_NE(events()[0].find("127.0.0.1"), std::string::npos) << events()[0];
    curl({url + "/"});
    EXPECT_EQ(events().size(), 1u);
}

// Prometheus' own checker reads the scrape as its server would.
std::string promtoolComplaints(const std::string& scrape) {
    testing::TempDir dir;
    testing::writeFile(dir / "scrape.txt", scrape);
    testing::ChildProcess check(
        {"sh", "-c", "promtool check metrics < \"$0\"", (dir / "scrape.txt").string()},
        {.outputFile = dir / "complaints.txt"});
    const std::optional<int> status = check.waitForExit();
    const std::string complaints = testing::readFile(dir / "complaints.txt");
    return status == 0 ? complaints
                       : "exit " + std::to_string(status.value_or(-1)) + ": " + complaints;
}

TEST_F(HubWebTest, MetricsCarryTheReadingsAndTheCountsAndPassPromtool) {
    // A fixed reading, so the scrape can be checked against its numbers.
    ASSERT_EQ(placeSimulator().command(
                  "qpigs 231.4 50.0 230.0 50.0 0322 0205 005 422 53.20 012 100 0056 0021 224.7 "
                  "53.45 00000 00010110 00 00 00473 010"),
              "ok");
    startServing(std::string("[Main]\nAutoConnect=1\nAutoSearch=0\nCOM PORT=COM1\n") +
                 "COM PORT index=1\nMeasTime=0\n");
    hub->FormShow();
    ASSERT_TRUE(serveUntil([this] {
        return hub->acquisition().loopCount() >= 2 && !displays.empty() &&
               displays.back().basic[0] != DisplayTexts::kUnset;
    }));
    curl({url + "/"});
    const auto reply = curl({url + "/metrics"});
    ASSERT_EQ(reply.status, 200) << reply.error;
    const std::string& scrape = reply.body;
    EXPECT_NE(scrape.find("\nbrevanto_reading{reading=\"ac_voltage\",unit=\"V\"} 231.4\n"),
              std::string::npos)
        << scrape;
    EXPECT_NE(scrape.find("\nbrevanto_link_connected 1\n"), std::string::npos);
    EXPECT_NE(scrape.find("brevanto_computed{unit=\"W\",value=\"solar_power\"}"),
              std::string::npos);
    EXPECT_NE(scrape.find("\nbrevanto_web_requests_total 2\n"), std::string::npos);
    EXPECT_NE(scrape.find("brevanto_exchange_failures_total{cause=\"no_reply\"} 0"),
              std::string::npos);
    EXPECT_EQ(scrape.find("\nbrevanto_cycles_total 0\n"), std::string::npos);
    EXPECT_EQ(promtoolComplaints(scrape), "");

    // Replies that fail their check are counted by their cause.
    ASSERT_EQ(sim->command("badcrc on"), "ok");
    const int cycles = hub->acquisition().loopCount();
    ASSERT_TRUE(serveUntil([&] { return hub->acquisition().loopCount() >= cycles + 2; }));
    const std::string later = curl({url + "/metrics"}).body;
    EXPECT_EQ(later.find("brevanto_exchange_failures_total{cause=\"bad_reply\"} 0"),
              std::string::npos)
        << later;
}

TEST_F(HubWebTest, ATimerFormWithThePasswordIsSavedOnTheMainThread) {
    startServing("[Main]\nPassword=sun\n");
    std::vector<int> boxesTicked;
    hub->web().setTimerDialog({[&](int timer, bool checked) {
                                   if (checked) {
                                       boxesTicked.push_back(timer);
                                   }
                               },
                               {}});
    const auto reply =
        curl({url + "/--WEBBOT-SELF--", "--data-binary",
              "C1TA=ON&TAON=07.00.00&TAOFF=19.30.00&TBON=&TBOFF=&TCON=&TCOFF=&TDON=&TDOFF="
              "&T2=sun&B1=Submit"});
    ASSERT_EQ(reply.status, 200) << reply.error;
    // The answer came without the main thread; the settings and the display
    // refresh wait for it.
    EXPECT_FALSE(hub->settings().AppSettings().timerEnabled[0]);
    ASSERT_TRUE(serveUntil([this] { return hub->settings().AppSettings().timerEnabled[0]; }));
    EXPECT_TRUE(serveUntil([this] { return !displays.empty(); }));
    EXPECT_EQ(boxesTicked, (std::vector<int>{0}));
    const std::string saved = testing::readFile(dir / "brevanto.INI");
    EXPECT_NE(saved.find("A=1"), std::string::npos) << saved;
    EXPECT_NE(saved.find("19:30:00"), std::string::npos) << saved;
}

TEST_F(HubWebTest, TheConnectionThreadsCheckThePasswordTheSettingsLastApplied) {
    startServing("[Main]\nPassword=sun\n");
    EXPECT_FALSE(formGetsThrough("moon"));
    EXPECT_TRUE(formGetsThrough("sun"));

    hub->settings().AppSettings().webPassword = "moon";
    hub->ApplySettings();
    url = "http://127.0.0.1:" + std::to_string(hub->web().server()->boundPort());
    EXPECT_FALSE(formGetsThrough("sun"));
    EXPECT_TRUE(formGetsThrough("moon"));
}

TEST_F(HubWebTest, ClosingStopsTheServer) {
    startServing("");
    hub->ShutDown();
    hub.reset();
    EXPECT_EQ(curl({url + "/"}).status, 0);
}

}  // namespace
}  // namespace brevanto
