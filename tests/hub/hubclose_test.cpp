// "Close" answered Yes, whatever the link and the reading thread are doing:
// the thread ends, the timers stop, the day's events are written.
#include <gtest/gtest.h>

#include "hubfixture.h"

namespace brevanto {
namespace {

using testing::HubFixture;

class HubCloseTest : public HubFixture {
protected:
    void startInTestMode() {
        start("[Main]\nMeasTime=0\n");
        hub->FormCreate();
        hub->TestClick(true);
        hub->Connect1Click();
        ASSERT_TRUE(serveUntil([this] { return hub->acquisition().loopCount() >= 1; }));
    }
    void closeWithYes() {
        hub->setReallyClose(true);
        prompts.queueAnswer(PromptAnswer::Yes);
        ASSERT_EQ(hub->FormClose(), CloseOutcome::Closed);
    }
    void expectEverythingStopped() {
        EXPECT_TRUE(hub->isShutDown());
        const MainTimers& timers = hub->timers();
        EXPECT_FALSE(timers.Timer.enabled() || timers.Timer1.enabled() || timers.Timer3.enabled());
        const int cycles = hub->acquisition().loopCount();
        invoker.runPending();
        EXPECT_EQ(hub->acquisition().loopCount(), cycles) << "the reading thread has ended";
        EXPECT_TRUE(std::filesystem::exists(eventFile()));
    }
};

TEST_F(HubCloseTest, WhileTheThreadWaitsForAWebRequest) {
    startInTestMode();
    hub->reqByWeb().ReqByWebClick(true);
    ASSERT_TRUE(serveUntil([this] { return hub->acquisition().suspended(); }));
    closeWithYes();
    expectEverythingStopped();
}

TEST_F(HubCloseTest, AfterADisconnect) {
    startInTestMode();
    hub->Connect1Click();
    ASSERT_FALSE(hub->linkState().connected());
    closeWithYes();
    expectEverythingStopped();
}

TEST_F(HubCloseTest, WhileTheLogTimerRuns) {
    startInTestMode();
    hub->timers().Timer3.setEnabled(true);
    closeWithYes();
    expectEverythingStopped();
}

}  // namespace
}  // namespace brevanto
