// The mail worker's queue: order, the attachment as it was, passing
// failures tried again, and what is left at the program's end. The
// deliveries here are stand-ins that the test holds and releases.
#include "mail/mailworker.h"

#include <condition_variable>
#include <mutex>

#include <gtest/gtest.h>

#include "platform/testing/manualclock.h"
#include "platform/testing/recordingeventsink.h"
#include "platform/testing/recordingprompts.h"
#include "support/tempdir.h"
#include "support/waituntil.h"

namespace brevanto {
namespace {

using namespace std::chrono_literals;
using testing::waitUntil;

// Holds every delivery until released; answers "try again" while told to.
class HeldDelivery {
public:
    MailDelivery function() {
        return [this](const MailJob& job, const std::function<void(std::string)>& event,
                      const std::atomic<bool>& cancel) {
            std::unique_lock lock(m_mutex);
            m_jobs.push_back(job);
            m_changed.notify_all();
            while (m_held && !cancel) {
                m_changed.wait_for(lock, 5ms);
            }
            event("tried " + job.message.body);
            // Cut short, as a real session is at the end: worth another try.
            if (cancel) {
                return true;
            }
            if (m_passingFailures > 0) {
                --m_passingFailures;
                return true;
            }
            return false;
        };
    }
    void release() {
        std::lock_guard lock(m_mutex);
        m_held = false;
        m_changed.notify_all();
    }
    void failPassingly(int times) {
        std::lock_guard lock(m_mutex);
        m_passingFailures = times;
    }
    std::vector<MailJob> jobs() const {
        std::lock_guard lock(m_mutex);
        return m_jobs;
    }

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<MailJob> m_jobs;
    bool m_held = true;
    int m_passingFailures = 0;
};

class MailWorkerTest : public ::testing::Test {
protected:
    void start(MailWorker::RetryDelays delays = {1ms, 1ms, 1ms}) {
        worker = std::make_unique<MailWorker>(
            services, [this] { return settings; }, delivery.function(), std::move(delays));
        finished = worker->addFinishedListener([this] { ++finishedCount; });
    }
    bool served(const std::function<bool()>& done) { return waitUntil(done, invoker); }
    std::vector<std::string> bodies() const {
        std::vector<std::string> result;
        for (const MailJob& job : delivery.jobs()) {
            result.push_back(job.message.body);
        }
        return result;
    }

    testing::TempDir dir;
    testing::ManualClock clock;
    testing::RecordingPrompts prompts;
    testing::RecordingEventSink events;
    QueuedInvoker invoker;
    DateTimeFormat format{"%d.%m.%Y", "%H:%M:%S"};
    Services services{clock, format, prompts, invoker, events, dir.path()};
    MailSettings settings{
        .address = "owner@example.test", .smtpHost = "localhost", .smtpPort = "25"};
    HeldDelivery delivery;
    std::unique_ptr<MailWorker> worker;
    Subscription finished;
    int finishedCount = 0;
};

TEST_F(MailWorkerTest, MailsGoOutOneAtATimeInTheOrderAskedWhileTheCallerGoesOn) {
    start();
    worker->SendMail("first", {});
    worker->SendMail("second", {});
    worker->SendMail("third", {});
    // Asked for and queued, none out: the caller did not wait.
    ASSERT_TRUE(served([&] { return delivery.jobs().size() == 1; }));
    EXPECT_EQ(worker->pending(), 3U);
    delivery.release();
    ASSERT_TRUE(served([&] { return finishedCount == 3; }));
    EXPECT_EQ(bodies(), (std::vector<std::string>{"first", "second", "third"}));
    EXPECT_EQ(events.messages(),
              (std::vector<std::string>{"tried first", "tried second", "tried third"}));
    const MailMessage message = delivery.jobs()[0].message;
    EXPECT_EQ(message.subject, "Message from Brevanto");
    EXPECT_EQ(message.address, "owner@example.test");
}

TEST_F(MailWorkerTest, TheAttachmentGoesAsItWasWhenTheMailWasAskedFor) {
    start();
    const auto log = dir / "BasicLog_31-3-2015.csv";
    testing::writeFile(log, "the ended day\r\n");
    worker->SendMail("with", log);
    testing::writeFile(log, "");
    worker->SendMail("missing", dir / "none.csv");
    worker->SendMail("none", {});
    delivery.release();
    ASSERT_TRUE(served([&] { return finishedCount == 3; }));
    const std::vector<MailJob> jobs = delivery.jobs();
    ASSERT_TRUE(jobs[0].message.attachment.has_value());
    EXPECT_EQ(jobs[0].message.attachment->fileName, "BasicLog_31-3-2015.csv");
    EXPECT_EQ(jobs[0].message.attachment->bytes, "the ended day\r\n");
    EXPECT_FALSE(jobs[1].message.attachment.has_value());
    EXPECT_FALSE(jobs[2].message.attachment.has_value());
}

TEST_F(MailWorkerTest, APassingFailureIsTriedAgainAndEachTryJournaled) {
    start();
    delivery.release();
    delivery.failPassingly(2);
    worker->SendMail("Line fault: 07.03.2015 14:02:11", {});
    ASSERT_TRUE(served([&] { return finishedCount == 1; }));
    EXPECT_EQ(delivery.jobs().size(), 3U);
    const std::vector<std::string> lines = events.messages();
    ASSERT_EQ(lines.size(), 5U);
    EXPECT_EQ(lines[1], "Mail to be tried again in 0 s: Line fault: 07.03.2015 14:02:11");
    EXPECT_EQ(lines[4], "tried Line fault: 07.03.2015 14:02:11");
}

TEST_F(MailWorkerTest, AfterFourTriesTheMailIsGivenUp) {
    start();
    delivery.release();
    delivery.failPassingly(10);
    worker->SendMail("Daily Energy production (31.03.2015): 1.500 kWh. \r\nTotal production", {});
    ASSERT_TRUE(served([&] { return finishedCount == 1; }));
    EXPECT_EQ(delivery.jobs().size(), 4U);
    EXPECT_EQ(events.messages().back(),
              "Mail given up after 4 tries: Daily Energy production (31.03.2015): 1.500 kWh. ");
}

TEST_F(MailWorkerTest, AtTheEndWhatCouldNotGoOutIsJournaledAndNothingWaitsLonger) {
    start({30min});
    worker->SendMail("stuck", {});
    worker->SendMail("Inverter switched from Line-bypass to Battery: 07.03.2015 14:02:11", {});
    ASSERT_TRUE(served([&] { return delivery.jobs().size() == 1; }));
    worker->drainAtClose(50ms);
    EXPECT_EQ(events.messages(),
              (std::vector<std::string>{
                  "tried stuck", "Mail not sent: stuck",
                  "Mail not sent: Inverter switched from Line-bypass to Battery: 07.03.2015 "
                  "14:02:11"}));
    // Asked for after the end: not queued for ever, and not without a word.
    worker->SendMail("late", {});
    EXPECT_EQ(worker->pending(), 2U);
    EXPECT_EQ(events.messages().back(), "Mail not sent: late");
}

}  // namespace
}  // namespace brevanto
