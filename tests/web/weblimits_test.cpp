// What a careless or hostile client cannot do to the server: send huge
// bodies, broken requests, hold connections idle, or open one too many.
#include <memory>

#include <gtest/gtest.h>

#include "curlclient.h"
#include "rawconnection.h"
#include "webserverfixture.h"

namespace brevanto {
namespace {

using namespace std::chrono_literals;
using testing::curl;
using testing::RawConnection;
using testing::WebServerFixture;

// Only a guard against a hang: every wait below ends on an event first.
constexpr auto kGuard = 15s;

std::string statusLine(const std::string& response) {
    return response.substr(0, response.find("\r\n"));
}

TEST(WebLimits, RefusesABodyAboveTheLimitWithoutReadingIt) {
    WebServerFixture web;
    web.start();
    const std::size_t limit = WebServerOptions{}.maxBodyBytes;
    for (const std::size_t size : {limit, limit + 1}) {
        SCOPED_TRACE(size);
        const auto file = web.dir / "body";
        testing::writeFile(file, "x=" + std::string(size - 2, 'a'));
        const auto reply = curl({"--data-binary", "@" + file.string(), web.url("/")});
        EXPECT_EQ(reply.status, size > limit ? 413 : 200) << reply.error;
    }

    // The answer comes before a byte of the body was sent.
    RawConnection declared(web.port());
    ASSERT_TRUE(declared.send("POST / HTTP/1.1\r\nHost: x\r\nContent-Length: 100000000\r\n\r\n"));
    EXPECT_EQ(statusLine(declared.readResponse(kGuard)), "HTTP/1.1 413 Content Too Large");

    // Without a declared length the connection is closed once the body
    // grows too long.
    RawConnection chunked(web.port());
    ASSERT_TRUE(chunked.send("POST / HTTP/1.1\r\nHost: x\r\nTransfer-Encoding: chunked\r\n\r\n"));
    const std::string chunk = "4000\r\n" + std::string(0x4000, 'a') + "\r\n";
    for (int i = 0; i < 5 && chunked.send(chunk); ++i) {
    }
    EXPECT_EQ(chunked.readToEnd(kGuard), "");
    EXPECT_TRUE(chunked.closedByServer());

    EXPECT_EQ(curl({web.url("/Timer")}).status, 200) << "the server goes on";
}

TEST(WebLimits, AnswersBrokenRequestsWithAnErrorStatusOrTheDocumentedPage) {
    struct Case {
        const char* request;
        // Empty: no request line the library can take apart at all; it
        // closes the connection without an answer.
        const char* status;
    };
    const Case cases[] = {
        {"GARBAGE\r\n\r\n", ""},
        {"GET /\r\n\r\n", "HTTP/1.1 400 Bad Request"},
        {"GET / FOO/1.1\r\n\r\n", "HTTP/1.1 400 Bad Request"},
        {"GET / HTTP/9.9\r\nHost: x\r\n\r\n", "HTTP/1.1 505 HTTP Version Not Supported"},
        {"GET / HTTP/1.1\r\nHost: x\r\nNo colon here\r\n\r\n", "HTTP/1.1 400 Bad Request"},
        {"GET /\xff\xfe\xc3\x28 HTTP/1.1\r\nHost: x\r\n\r\n", "HTTP/1.1 200 OK"},
        {"G ET / HTTP/1.1\r\nHost: x\r\n\r\n", "HTTP/1.1 200 OK"},
    };
    WebServerFixture web;
    web.start();
    for (const Case& broken : cases) {
        SCOPED_TRACE(broken.request);
        RawConnection connection(web.port());
        ASSERT_TRUE(connection.send(broken.request));
        EXPECT_EQ(statusLine(connection.readResponse(kGuard)), broken.status);
        if (*broken.status == '\0') {
            EXPECT_TRUE(connection.closedByServer());
        }
    }
    EXPECT_EQ(curl({web.url("/Timer")}).status, 200);
}

TEST(WebLimits, ClosesIdleAndStalledConnectionsAfterTheTimeOut) {
    WebServerOptions options;
    options.connectionTimeoutSeconds = 1;
    WebServerFixture web(DateTimeFormat("%d.%m.%Y", "%H:%M:%S"), options);
    web.start();
    const char* starts[] = {
        "",                                                 // never says anything
        "GET / HT",                                         // stalls in the request line
        "POST / HTTP/1.1\r\nContent-Length: 10\r\n\r\nab",  // stalls in the body
        "GET /DataLog HTTP/1.1\r\nHost: x\r\n\r\n",         // idle after an answer
    };
    std::vector<std::unique_ptr<RawConnection>> connections;
    for (const char* start : starts) {
        connections.push_back(std::make_unique<RawConnection>(web.port()));
        ASSERT_TRUE(connections.back()->send(start));
    }
    for (std::size_t i = 0; i < connections.size(); ++i) {
        SCOPED_TRACE(starts[i]);
        connections[i]->readToEnd(kGuard);
        EXPECT_TRUE(connections[i]->closedByServer());
    }
}

TEST(WebLimits, AConnectionBeyondTheLimitWaitsOrIsRefusedAndNothingBreaks) {
    WebServerFixture web;
    web.start();
    const unsigned limit = WebServerOptions{}.maxConnections;
    const std::string request = "GET /DataLog HTTP/1.1\r\nHost: x\r\n\r\n";
    std::vector<std::unique_ptr<RawConnection>> held;
    for (unsigned i = 0; i < limit; ++i) {
        held.push_back(std::make_unique<RawConnection>(web.port()));
        ASSERT_TRUE(held.back()->send(request));
        // Answered, so the server holds this connection open for more.
        ASSERT_EQ(statusLine(held.back()->readResponse(kGuard)), "HTTP/1.1 200 OK") << i;
    }
    RawConnection oneMore(web.port());
    oneMore.send(request);
    const std::string early = oneMore.readResponse(200ms);
    EXPECT_TRUE(early.empty()) << "answered beyond the limit: " << statusLine(early);

    // Refused, or kept waiting in the listen queue and served once a slot
    // is free.
    held.clear();
    const std::string later = oneMore.readResponse(kGuard);
    EXPECT_TRUE(oneMore.closedByServer() || statusLine(later) == "HTTP/1.1 200 OK")
        << statusLine(later);
    EXPECT_EQ(curl({web.url("/Timer")}).status, 200);
}

}  // namespace
}  // namespace brevanto
