// The web password on the Timer page's form, posted with curl: only the
// first "T2" field counts and it must equal the password exactly, and an
// address that keeps guessing is shut out for a minute.
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "curlclient.h"
#include "webserverfixture.h"

namespace brevanto {
namespace {

using testing::curl;
using testing::WebServerFixture;

constexpr const char* kTimes = "C1TA=ON&TAON=07.00.00&TAOFF=08.30.00&TBON=x";
constexpr const char* kShutOut =
    "[07.03.2015 14:02:11] Web password refused 5 times within a minute from 127.0.0.1; its "
    "forms are refused for a minute. ";

std::string form(const std::string& password) {
    return std::string(kTimes) + "&T2=" + password + "&B1=Submit";
}

// Whether the form got through: its work reaches the main thread, and only
// then does the answer carry the paragraph for timer B's bad time.
bool getsThrough(WebServerFixture& web, const std::string& body,
                 const std::string& from = "127.0.0.1") {
    const auto reply = curl({"--interface", from, "--data-binary", body, web.url("/")});
    EXPECT_EQ(reply.status, 200) << reply.error;
    const bool paragraph = reply.body.find("Time format error") != std::string::npos;
    const bool applied = web.mainThread.runPending() == 1;
    EXPECT_EQ(paragraph, applied) << body.substr(0, 80);
    return applied;
}

std::string manyGuesses() {
    std::string body = std::string(kTimes) + "&T2=guess";
    for (int i = 0; i < 8000; ++i) {
        body += "&T2=" + std::to_string(i);
    }
    return body + "&T2=sun&T2=sunrise";
}

TEST(WebPassword, OnlyTheFirstT2FieldCountsAndItMustBeThePasswordExactly) {
    struct Case {
        const char* name;
        std::string stored;
        std::string body;
        bool through;
    };
    const Case cases[] = {
        {"the password", "sun", form("sun"), true},
        {"a longer word that holds it", "sun", form("sunrise"), false},
        {"a prefix of it", "sun", form("su"), false},
        {"another case", "sun", form("Sun"), false},
        {"percent-encoded: not decoded", "sun", form("s%75n"), false},
        {"a wrong first guess, the password later", "sun", form("moon") + "&T2=sun", false},
        {"thousands of guesses in one body", "sun", manyGuesses(), false},
        {"the password in another field", "sun", std::string(kTimes) + "&T1=sun&XT2=sun", false},
        {"no password field", "sun", kTimes, false},
        {"stored encoded, sent encoded", "s%26n", form("s%26n"), true},
        {"the empty password lets everything through", "", form("anything"), true},
        {"the empty password, no field at all", "", kTimes, true},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        WebServerFixture web;
        web.setPassword(test.stored);
        web.start();
        EXPECT_EQ(getsThrough(web, test.body), test.through);
        EXPECT_EQ(web.store.AppSettings().timerEnabled[0], test.through);
        EXPECT_TRUE(web.events().empty());
    }
}

TEST(WebPassword, FiveRefusalsWithinAMinuteShutTheAddressOutForAMinute) {
    WebServerFixture web;
    web.setPassword("sun");
    web.start();
    for (int guess = 0; guess < 4; ++guess) {
        EXPECT_FALSE(getsThrough(web, form("guess" + std::to_string(guess))));
    }
    EXPECT_TRUE(getsThrough(web, form("sun"))) << "four refusals shut nobody out";
    EXPECT_TRUE(web.events().empty());
    EXPECT_FALSE(getsThrough(web, form("guess4")));
    EXPECT_EQ(web.events(), EventList::Lines{kShutOut});

    EXPECT_FALSE(getsThrough(web, form("sun"))) << "shut out, even with the password";
    EXPECT_FALSE(getsThrough(web, form("guess5")));
    EXPECT_TRUE(getsThrough(web, form("sun"), "127.0.0.12")) << "another address is not";
    web.clock.advance(std::chrono::seconds(59));
    EXPECT_FALSE(getsThrough(web, form("sun")));
    web.clock.advance(std::chrono::seconds(1));
    EXPECT_TRUE(getsThrough(web, form("sun")));
    EXPECT_EQ(web.events(), EventList::Lines{kShutOut}) << "one line for the minute";
}

TEST(WebPassword, RefusalsSpreadOverMoreThanAMinuteShutNobodyOut) {
    WebServerFixture web;
    web.setPassword("sun");
    web.start();
    for (int guess = 0; guess < 12; ++guess) {
        EXPECT_FALSE(getsThrough(web, form("guess")));
        web.clock.advance(std::chrono::seconds(15));
    }
    EXPECT_TRUE(getsThrough(web, form("sun")));
    EXPECT_TRUE(web.events().empty());
}

TEST(WebPassword, GuessesFromManyThreadsAtOnceShutTheAddressOutOnce) {
    WebServerFixture web;
    web.setPassword("sun");
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&web] {
            for (int i = 0; i < 20; ++i) {
                web.handler.IdHTTPServer1CommandGet({"POST", "/", form("guess"), "192.0.2.7"});
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(web.mainThread.runPending(), 0);
    ASSERT_EQ(web.events().size(), 1u);
    EXPECT_NE(web.events()[0].find("from 192.0.2.7;"), std::string::npos) << web.events()[0];
}

}  // namespace
}  // namespace brevanto
