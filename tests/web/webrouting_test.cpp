// Routing and the main page's commands, with curl as the client on loopback.
#include <gtest/gtest.h>

#include "curlclient.h"
#include "webserverfixture.h"

namespace brevanto {
namespace {

using testing::curl;
using testing::HttpReply;
using testing::WebServerFixture;

enum class Page { Main, Timer, Empty };

struct RouteCase {
    const char* name;
    std::vector<std::string> curlArguments;  // before the URL
    const char* path;
    Page page;
    bool countsVisit;
};

std::string expectedBody(const WebServerFixture& web, Page page) {
    switch (page) {
        case Page::Main:
            return RenderPage(web.pages.MainPage());
        case Page::Timer:
            return RenderPage(web.pages.TimerPage());
        case Page::Empty:
            return {};
    }
    return {};
}

void expectHtmlReply(const HttpReply& reply, const std::string& body) {
    ASSERT_EQ(reply.status, 200) << reply.error;
    EXPECT_EQ(reply.body, body);
    EXPECT_EQ(reply.headers.at("content-length"), std::to_string(body.size()));
    if (body.empty()) {
        EXPECT_FALSE(reply.hasHeader("content-type"));
    } else {
        EXPECT_EQ(reply.headers.at("content-type"), "text/html; charset=utf-8");
    }
}

TEST(WebRouting, AnswersEachMethodAndPathAsRouted) {
    const RouteCase cases[] = {
        {"Timer page", {}, "/Timer", Page::Timer, false},
        {"query is not part of the path", {}, "/Timer?x=1", Page::Timer, false},
        {"paths are case-sensitive", {}, "/timer", Page::Main, true},
        {"data log is empty", {}, "/DataLog", Page::Empty, false},
        {"message log is empty", {}, "/MessageLog", Page::Empty, false},
        {"root", {}, "/", Page::Main, true},
        {"the Timer page's link back", {}, "/Main", Page::Main, true},
        {"HEAD", {"--head"}, "/", Page::Empty, false},
        {"unknown method", {"-X", "BREW"}, "/", Page::Empty, false},
        {"DELETE", {"-X", "DELETE"}, "/Timer", Page::Empty, false},
        {"POST answers the main page whatever the path",
         {"--data-binary", "x=1"},
         "/--WEBBOT-SELF--",
         Page::Main,
         false},
    };
    for (const RouteCase& route : cases) {
        SCOPED_TRACE(route.name);
        WebServerFixture web;
        web.start();
        std::vector<std::string> arguments = route.curlArguments;
        arguments.push_back(web.url(route.path));
        expectHtmlReply(curl(arguments), expectedBody(web, route.page));
        EXPECT_EQ(web.events().size(), route.countsVisit ? 1u : 0u);
    }
}

TEST(WebRouting, KeepsOneVisitLinePerExactAddress) {
    WebServerFixture web;
    web.start();
    const std::string url = web.url("/");
    ASSERT_EQ(curl({url}).status, 200);
    ASSERT_EQ(curl({"--interface", "127.0.0.12", url}).status, 200);
    EXPECT_EQ(
        web.events(),
        (EventList::Lines{"[07.03.2015 14:02:11] 07.03.2015 "
                          "14:02:11[ipstart]127.0.0.1[ipend] requested webpage [CS]1[CE] ",
                          "[07.03.2015 14:02:11] 07.03.2015 "
                          "14:02:11[ipstart]127.0.0.12[ipend] requested webpage [CS]1[CE] "}));

    web.clock.advance(std::chrono::seconds(4));
    ASSERT_EQ(curl({url}).status, 200);
    EXPECT_EQ(web.events(),
              (EventList::Lines{
                  "[07.03.2015 14:02:11] 07.03.2015 "
                  "14:02:11[ipstart]127.0.0.12[ipend] requested webpage [CS]1[CE] ",
                  "07.03.2015 14:02:15[ipstart]127.0.0.1[ipend] requested webpage [CS]2[CE]"}));

    // Emptied at the day change or by "Clear>>": counting starts again.
    web.eventList.clear();
    ASSERT_EQ(curl({url}).status, 200);
    ASSERT_EQ(web.events().size(), 1u);
    EXPECT_TRUE(
        web.events()[0].ends_with("[ipstart]127.0.0.1[ipend] requested webpage [CS]1[CE] "));
}

struct PostCase {
    const char* name;
    std::string body;
    // What the answer is made of, in order.
    bool listing;
    Page page;
    bool exeLine;
};

TEST(WebRouting, MainPageCommandsAnswerTheListingAnEmptyBodyOrTheMainPage) {
    const std::string binary("x=\0\xff\xfe\xc3\x28 T1=\x80", 13);
    const PostCase cases[] = {
        {"listing needs no password", "T1=log&B1=Submit", true, Page::Empty, false},
        {"data", "T1=data", false, Page::Empty, false},
        {"data2 is data too", "T1=data2", false, Page::Empty, false},
        {"neither", "T1=other", false, Page::Main, false},
        {"no command is ever launched", "T1=exe", false, Page::Main, true},
        {"listing and exe", "T1=log&T1=exe", true, Page::Empty, true},
        {"output switches switch nothing", "T1=secret&C1=ON&C8=ON", false, Page::Main, false},
        {"binary and invalid UTF-8", binary, false, Page::Main, false},
    };
    for (const PostCase& post : cases) {
        SCOPED_TRACE(post.name);
        WebServerFixture web;
        web.setPassword("secret");
        web.start();
        web.eventLog.WriteEvent("Connected on COM1");
        web.eventLog.WriteEvent("<b>bold</b>");
        std::string expected;
        if (post.listing) {
            expected = R"(<p align="left">[07.03.2015 14:02:11] Connected on COM1 </p>)"
                       R"(<p align="left">[07.03.2015 14:02:11] <b>bold</b> </p>)";
        }
        expected += expectedBody(web, post.page);
        if (post.exeLine) {
            expected += R"(<p align="left"> Command EXE NOT executed </p>)";
        }
        const std::filesystem::path bodyFile = web.dir / "body";
        testing::writeFile(bodyFile, post.body);
        expectHtmlReply(curl({"--data-binary", "@" + bodyFile.string(), web.url("/")}), expected);
        EXPECT_EQ(web.events().size(), 2u) << "a POST counts no visit";
        EXPECT_EQ(web.mainThread.runPending(), 0) << "a main-page command changes nothing";
    }
}

TEST(WebRouting, AnErrorInTheHandlerAnswers500WithItsMessage) {
    WebServerFixture web;
    web.start();
    web.eventList.setChangeListener([] { throw std::runtime_error("memo is gone"); });
    const HttpReply reply = curl({web.url("/")});
    EXPECT_EQ(reply.status, 500);
    EXPECT_EQ(reply.body, "memo is gone");
    web.eventList.setChangeListener({});
    EXPECT_EQ(curl({web.url("/")}).status, 200);
}

}  // namespace
}  // namespace brevanto
