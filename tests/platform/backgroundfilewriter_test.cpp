// The checkpoint writer on its real thread, with this thread as the main
// thread: outcomes arrive only when the inbox is served here.
#include "platform/backgroundfilewriter.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/queuedinvoker.h"
#include "support/tempdir.h"
#include "support/waituntil.h"

namespace brevanto {
namespace {

using testing::kWaitGuard;
using testing::readFile;
using testing::TempDir;
using Told = std::vector<std::string>;

// The inbox with a turnstile in front: the writer, handing over an outcome,
// waits there until the test lets it through, so the test knows what is
// still queued behind the file just written.
class GatedInbox final : public MainThreadInvoker {
public:
    explicit GatedInbox(QueuedInvoker& inbox) : m_inbox(inbox) {}

    void invokeAndWait(std::function<void()> work) override {
        m_inbox.invokeAndWait(std::move(work));
    }
    void post(std::function<void()> work) override {
        m_inbox.post(std::move(work));
        std::unique_lock lock(m_mutex);
        const int ticket = ++m_arrived;
        m_changed.notify_all();
        m_changed.wait(lock, [this, ticket] { return m_open || ticket <= m_passed; });
    }

    bool arrived(int count) {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, kWaitGuard, [this, count] { return m_arrived >= count; });
    }
    void letOneThrough() {
        std::lock_guard lock(m_mutex);
        ++m_passed;
        m_changed.notify_all();
    }
    void open() {
        std::lock_guard lock(m_mutex);
        m_open = true;
        m_changed.notify_all();
    }

private:
    QueuedInvoker& m_inbox;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_arrived = 0;
    int m_passed = 0;
    bool m_open = false;
};

class BackgroundFileWriterTest : public ::testing::Test {
protected:
    // A failed assertion must not leave the writer held at the gate.
    ~BackgroundFileWriterTest() override {
        gate.open();
        writer.reset();
    }

    BackgroundFileWriter::Done tell(std::string name) {
        return [this, name = std::move(name)](bool written) {
            EXPECT_TRUE(inbox.onMainThread());
            told.push_back(name + (written ? " written" : " failed"));
        };
    }
    void replace(std::string_view name, std::string bytes, std::string label) {
        writer->replace(dir / name, std::move(bytes), tell(std::move(label)));
    }

    TempDir dir;
    QueuedInvoker inbox;
    GatedInbox gate{inbox};
    std::unique_ptr<BackgroundFileWriter> writer = std::make_unique<BackgroundFileWriter>(gate);
    Told told;
};

TEST_F(BackgroundFileWriterTest, WritesInOrderAndTellsEachOutcomeOnTheMainThread) {
    gate.open();
    replace("a.csv", "first\r\n", "a");
    replace("missing/c.csv", "lost", "c");
    replace("b.csv", "second\r\n", "b");
    writer->drain();
    EXPECT_TRUE(told.empty());
    inbox.runPending();
    EXPECT_EQ(told, (Told{"a written", "c failed", "b written"}));
    EXPECT_EQ(readFile(dir / "a.csv"), "first\r\n");
    EXPECT_EQ(readFile(dir / "b.csv"), "second\r\n");
}

TEST_F(BackgroundFileWriterTest, AFileHandedOverAgainWhileWaitingIsWrittenOnceWithTheNewest) {
    replace("x.csv", "x", "x");
    ASSERT_TRUE(gate.arrived(1));  // held after x: what follows waits in the queue
    replace("a.csv", "a1", "a1");
    replace("b.csv", "b", "b");
    replace("a.csv", "a2", "a2");
    replace("a.csv", "a3", "a3");
    gate.letOneThrough();
    ASSERT_TRUE(gate.arrived(2));  // held after the next file, still before b
    EXPECT_EQ(readFile(dir / "a.csv"), "a3");
    EXPECT_FALSE(std::filesystem::exists(dir / "b.csv"));

    gate.open();
    writer->drain();
    inbox.runPending();
    EXPECT_EQ(told, (Told{"x written", "a1 written", "a2 written", "a3 written", "b written"}));
}

TEST_F(BackgroundFileWriterTest, DrainAndTheEndBothLeaveEveryQueuedFileOnTheDisk) {
    gate.open();
    constexpr int kFiles = 20;
    const auto name = [](int n) { return "f" + std::to_string(n) + ".csv"; };
    for (const bool byDrain : {true, false}) {
        for (int n = 0; n < kFiles; ++n) {
            replace(name(n), std::to_string(n) + (byDrain ? " drained" : " ended"), name(n));
        }
        if (byDrain) {
            writer->drain();
        } else {
            writer.reset();
        }
        for (int n = 0; n < kFiles; ++n) {
            EXPECT_EQ(readFile(dir / name(n)),
                      std::to_string(n) + (byDrain ? " drained" : " ended"))
                << name(n);
        }
    }
    inbox.runPending();
    EXPECT_EQ(told.size(), 2u * kFiles);
}

}  // namespace
}  // namespace brevanto
