// Starting, stopping and restarting the server as the settings and the
// dialog's "Disable HTTP" do it, and what a failed start tells the user.
#include <gtest/gtest.h>

#include <unistd.h>

#include "curlclient.h"
#include "rawconnection.h"
#include "web/listensocket.h"
#include "webserverfixture.h"

namespace brevanto {
namespace {

using namespace std::chrono_literals;
using testing::curl;
using testing::RawConnection;
using testing::WebServerFixture;

void startWithPort(WebServerFixture& web, const std::string& port) {
    testing::writeFile(web.iniPath(), "[Http]\nPort=" + port + "\n");
    web.store.LoadSettings();
    web.store.ApplySettings();
}

TEST(WebServer, AFailedStartSaysWhyInASecondLine) {
    const ListenSocket taken = openListenSocket(0, 1);
    ASSERT_GE(taken.fd, 0) << taken.failure;
    struct Case {
        std::string port;
        std::string reason;
    };
    std::vector<Case> cases = {
        {std::to_string(taken.port),
         "Cannot listen on port " + std::to_string(taken.port) + ": Address already in use."},
        {"70000", "Cannot listen on port 70000: ports are numbered 1 to 65535."},
    };
    if (::geteuid() != 0) {
        cases.push_back({"80",
                         "Cannot listen on port 80: Permission denied (ports below 1024 need "
                         "extra privileges; choose a port from 1024 up)."});
    }
    for (const Case& failing : cases) {
        SCOPED_TRACE(failing.port);
        WebServerFixture web;
        startWithPort(web, failing.port);
        EXPECT_FALSE(web.server.isActive());
        EXPECT_EQ(web.events(),
                  (EventList::Lines{"[07.03.2015 14:02:11] Failed to activate WEB server. ",
                                    "[07.03.2015 14:02:11] " + failing.reason + " "}));
    }
    ::close(taken.fd);
}

TEST(WebServer, ApplyingTheSettingsRestartsItAndDisableHttpSwitchesItAtOnce) {
    WebServerFixture web;
    startWithPort(web, "0");
    ASSERT_TRUE(web.server.isActive());
    EXPECT_EQ(curl({web.url("/Timer")}).status, 200);

    web.store.ApplySettings();
    ASSERT_TRUE(web.server.isActive());
    EXPECT_EQ(curl({web.url("/Timer")}).status, 200);

    const std::string stoppedUrl = web.url("/Timer");
    web.server.setActive(false);
    EXPECT_FALSE(web.server.isActive());
    EXPECT_EQ(curl({stoppedUrl}).status, 0) << "nobody listens any more";
    web.server.setActive(true);
    EXPECT_EQ(curl({web.url("/Timer")}).status, 200);

    // Not stored: the next Apply runs the server again.
    web.server.setActive(false);
    web.store.ApplySettings();
    EXPECT_EQ(curl({web.url("/Timer")}).status, 200);
    EXPECT_TRUE(web.events().empty());
}

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
