// The web side as the program wires it: applying the settings restarts the
// server, "Disable HTTP" switches it at once, and a failed start tells the
// user why in the journal.
#include "web/webfront.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include "curlclient.h"
#include "platform/testing/manualclock.h"
#include "platform/testing/recordingprompts.h"
#include "store/eventlog.h"
#include "support/tempdir.h"
#include "web/listensocket.h"

namespace brevanto {
namespace {

using testing::curl;

class WebFrontTest : public ::testing::Test {
protected:
    WebFrontTest() { pages.BuildPageTemplates(); }

    void applyPort(const std::string& port) {
        settings.AppSettings().httpPort = port;
        front.configure(settings.AppSettings());
    }
    std::string url() {
        return "http://127.0.0.1:" + std::to_string(front.server()->boundPort()) + "/Timer";
    }
    EventList::Lines events() const { return eventList.snapshot(); }

    testing::TempDir dir;
    testing::ManualClock clock;
    DateTimeFormat format{"%d.%m.%Y", "%H:%M:%S"};
    testing::RecordingPrompts prompts;
    QueuedInvoker mainThread;
    EventList eventList;
    EventLog eventLog{eventList, clock, format, prompts, dir.path()};
    Services services{clock, format, prompts, mainThread, eventLog, dir.path()};
    PageTemplates pages;
    SettingsStore settings{SettingsFile(dir / "brevanto.INI", format), eventLog};
    WebFront front{services, {pages, eventList, settings}, true, {.anyFreePortForTests = true}};
};

TEST_F(WebFrontTest, AFailedStartSaysWhyInASecondLine) {
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
        eventList.clear();
        applyPort(failing.port);
        EXPECT_FALSE(front.server()->isActive());
        EXPECT_EQ(events(),
                  (EventList::Lines{"[07.03.2015 14:02:11] Failed to activate WEB server. ",
                                    "[07.03.2015 14:02:11] " + failing.reason + " "}));
    }
    ::close(taken.fd);
}

TEST_F(WebFrontTest, AsTheProgramRunsItPortZeroIsOutOfRangeAndAFreshIniAsksFor8080) {
    WebFront program{services, {pages, eventList, settings}, true};
    settings.AppSettings().httpPort = "0";
    program.configure(settings.AppSettings());
    EXPECT_FALSE(program.server()->isActive());
    EXPECT_EQ(
        events(),
        (EventList::Lines{
            "[07.03.2015 14:02:11] Failed to activate WEB server. ",
            "[07.03.2015 14:02:11] Cannot listen on port 0: ports are numbered 1 to 65535. "}));
    EXPECT_EQ(TDati{}.httpPort, "8080");
}

TEST_F(WebFrontTest, APortThatIsNoNumberIsOneLineAndNoServer) {
    applyPort("eighty");
    EXPECT_FALSE(front.server()->isActive());
    EXPECT_EQ(events(), EventList::Lines{"[07.03.2015 14:02:11] Failed to activate WEB server. "});
}

TEST_F(WebFrontTest, ApplyingTheSettingsRestartsItAndDisableHttpSwitchesItAtOnce) {
    applyPort("0");
    ASSERT_TRUE(front.server()->isActive());
    EXPECT_EQ(curl({url()}).status, 200);

    front.configure(settings.AppSettings());
    ASSERT_TRUE(front.server()->isActive());
    EXPECT_EQ(curl({url()}).status, 200);

    const std::string stoppedUrl = url();
    front.setActive(false);
    EXPECT_FALSE(front.server()->isActive());
    EXPECT_EQ(curl({stoppedUrl}).status, 0) << "nobody listens any more";
    front.setActive(true);
    EXPECT_EQ(curl({url()}).status, 200);

    // Not stored: the next Apply runs the server again.
    front.setActive(false);
    front.configure(settings.AppSettings());
    EXPECT_EQ(curl({url()}).status, 200);
    EXPECT_TRUE(events().empty());
}

TEST_F(WebFrontTest, TheAppliedPasswordIsTheOneTheTimerFormNeeds) {
    settings.AppSettings().webPassword = "sun";
    applyPort("0");
    const std::string form =
        "C1TA=ON&TAON=07.00.00&TAOFF=19.30.00&TBON=&TBOFF=&TCON=&TCOFF=&TDON=&TDOFF=&B1=Submit";
    // The form's work is posted before its answer goes out.
    ASSERT_EQ(curl({url(), "--data-binary", form + "&T2=moon"}).status, 200);
    mainThread.runPending();
    EXPECT_FALSE(settings.AppSettings().timerEnabled[0]);
    ASSERT_EQ(curl({url(), "--data-binary", form + "&T2=sun"}).status, 200);
    mainThread.runPending();
    EXPECT_TRUE(settings.AppSettings().timerEnabled[0]);
}

}  // namespace
}  // namespace brevanto
