// Visit lines, with the request handler called directly: many requests at
// once from two addresses while the main thread writes the journal, and
// lines that only look like visit lines.
#include <algorithm>
#include <iterator>
#include <thread>

#include <gtest/gtest.h>

#include "webserverfixture.h"

namespace brevanto {
namespace {

using testing::WebServerFixture;

WebResponse getMainPage(WebServerFixture& web, const std::string& address) {
    return web.handler.IdHTTPServer1CommandGet({"GET", "/", "", address});
}

TEST(WebVisits, CountsEveryRequestOnceWhileTheJournalGrows) {
    constexpr int kThreads = 6;
    constexpr int kRequests = 150;
    WebServerFixture web;
    const std::string addresses[] = {"192.0.2.1", "192.0.2.12"};
    std::vector<std::thread> clients;
    for (int t = 0; t < kThreads; ++t) {
        clients.emplace_back([&, t] {
            for (int i = 0; i < kRequests; ++i) {
                ASSERT_EQ(getMainPage(web, addresses[(t + i) % 2]).status, 200);
            }
        });
    }
    for (int i = 0; i < 300; ++i) {
        web.eventLog.WriteEvent("main thread " + std::to_string(i));
    }
    for (auto& client : clients) {
        client.join();
    }
    const auto lines = web.events();
    ASSERT_EQ(lines.size(), 302u);
    // Each address had half the requests, whenever the main thread wrote.
    const std::string half = "[CS]" + std::to_string(kThreads * kRequests / 2) + "[CE]";
    for (const std::string& address : addresses) {
        std::vector<std::string> visits;
        std::copy_if(lines.begin(), lines.end(), std::back_inserter(visits),
                     [&](const std::string& line) {
                         return line.find("[ipstart]" + address + "[ipend]") != std::string::npos;
                     });
        ASSERT_EQ(visits.size(), 1u) << address;
        EXPECT_TRUE(visits[0].ends_with(half)) << visits[0];
    }
}

TEST(WebVisits, OnlyAWellFormedLineOfTheSameAddressIsCountedOn) {
    struct Case {
        const char* existing;
        bool countedOn;  // rewritten at the end instead of a new first line
        const char* count;
    };
    const Case cases[] = {
        {"x[ipstart]192.0.2.20[ipend] requested webpage [CS]41[CE]", true, "42"},
        {"x[ipstart]192.0.2.20[ipend] requested webpage [CS] 7 [CE]", true, "8"},
        // A line garbled in the day's file restarts the count rather than
        // failing every page for this address until the list is emptied.
        {"x[ipstart]192.0.2.20[ipend] requested webpage [CS]4x[CE]", true, "1"},
        {"x[ipstart]192.0.2.20[ipend] requested webpage", true, "1"},
        {"x[ipend]192.0.2.20[ipstart] requested webpage [CS]5[CE]", false, "1"},
        {"x[ipstart]192.0.2.2[ipend] requested webpage [CS]5[CE]", false, "1"},
        {"x[ipstart]192.0.2.200[ipend] requested webpage [CS]5[CE]", false, "1"},
    };
    for (const Case& line : cases) {
        SCOPED_TRACE(line.existing);
        WebServerFixture web;
        web.eventList.replaceAll({line.existing, "[07.03.2015 14:00:00] Connected "});
        ASSERT_EQ(getMainPage(web, "192.0.2.20").status, 200);
        const auto lines = web.events();
        const std::string visit =
            "07.03.2015 14:02:11[ipstart]192.0.2.20[ipend] requested webpage [CS]" +
            std::string(line.count) + "[CE]";
        if (line.countedOn) {
            EXPECT_EQ(lines, (EventList::Lines{"[07.03.2015 14:00:00] Connected ", visit}));
        } else {
            EXPECT_EQ(lines, (EventList::Lines{line.existing, "[07.03.2015 14:00:00] Connected ",
                                               "[07.03.2015 14:02:11] " + visit + " "}));
        }
    }
}

}  // namespace
}  // namespace brevanto
