// Stopping the server while requests are under way.
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

TEST(WebServer, AStopLetsRequestsUnderWayFinishOnlyUpToItsWait) {
    WebServerOptions options;
    options.terminateWait = 300ms;
    WebServerFixture web(DateTimeFormat("%d.%m.%Y", "%H:%M:%S"), options);
    web.start();
    const int port = web.port();
    RawConnection stalled(port);
    ASSERT_TRUE(stalled.send("POST / HTTP/1.1\r\nHost: x\r\nContent-Length: 10\r\n\r\nab"));
    RawConnection idle(port);
    ASSERT_TRUE(idle.send("GET /DataLog HTTP/1.1\r\nHost: x\r\n\r\n"));
    ASSERT_FALSE(idle.readResponse(10s).empty());

    EXPECT_TRUE(web.server.deactivate());
    EXPECT_FALSE(web.server.isActive());
    stalled.readToEnd(10s);
    EXPECT_TRUE(stalled.closedByServer());
    idle.readToEnd(10s);
    EXPECT_TRUE(idle.closedByServer());
    EXPECT_FALSE(RawConnection(port).connected());
}

}  // namespace
}  // namespace brevanto
