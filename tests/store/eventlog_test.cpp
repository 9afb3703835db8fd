#include "store/eventlog.h"

#include <gtest/gtest.h>

#include "platform/atomicfile.h"
#include "platform/testing/manualclock.h"
#include "platform/testing/recordingprompts.h"
#include "support/tempdir.h"

namespace brevanto {
namespace {

using testing::ManualClock;
using testing::readFile;
using testing::RecordingPrompts;
using testing::TempDir;
using testing::writeFile;

constexpr const char* kCannotCreate =
    "Cannot create Directory for Event log file. Current directory will be used.";

class EventLogTest : public ::testing::Test {
protected:
    EventLogTest() { std::filesystem::create_directory(dir / "Log"); }

    TempDir dir;
    EventList list;
    ManualClock clock{{{2015, 3, 7}, {14, 2, 11, 0}}};
    DateTimeFormat format{"%d.%m.%Y", "%H:%M:%S"};
    RecordingPrompts prompts;
    EventLog log{list, clock, format, prompts, dir.path()};
};

TEST_F(EventLogTest, WriteEventStampsTheMessageAndEndsWithABlank) {
    log.WriteEvent("Closing program aborted.");
    EXPECT_EQ(list.snapshot(), EventList::Lines{"[07.03.2015 14:02:11] Closing program aborted. "});
    clock.set({{2015, 3, 8}, {0, 0, 0, 0}});
    log.WriteEvent("midnight");
    EXPECT_EQ(list.snapshot().back(), "[08.03.2015] midnight ");
}

TEST_F(EventLogTest, NamesTheDaysFileInItsOwnDirectories) {
    struct Case {
        LocalDate date;
        const char* path;
    };
    const Case cases[] = {
        {{2015, 3, 7}, "Log/LogEvent/2015/3/7/EventLog7-3-2015.txt"},
        {{2016, 1, 1}, "Log/LogEvent/2016/1/1/EventLog1-1-2016.txt"},
        {{2016, 12, 31}, "Log/LogEvent/2016/12/31/EventLog31-12-2016.txt"},
    };
    EXPECT_TRUE(log.currentPath().empty());
    for (const Case& c : cases) {
        clock.set({c.date, {9, 0, 0, 0}});
        log.NameEventFile();
        EXPECT_EQ(log.currentPath(), c.path);
        EXPECT_TRUE(std::filesystem::is_directory((dir.path() / c.path).parent_path()));
    }
    EXPECT_TRUE(prompts.messages().empty());
}

TEST_F(EventLogTest, FallsBackToTheWorkingDirectory) {
    // A file in place of a directory level makes that level impossible, even for root.
    struct Case {
        const char* blocked;
        bool tellsTheUser;
    };
    const Case cases[] = {
        {"Log/LogEvent", true},
        {"Log/LogEvent/2015", false},
        {"Log/LogEvent/2015/3", false},
        {"Log/LogEvent/2015/3/7", false},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(dir / "Log");
        std::filesystem::create_directories((dir.path() / c.blocked).parent_path());
        writeFile(dir.path() / c.blocked, "not a directory");
        RecordingPrompts casePrompts;
        EventLog caseLog{list, clock, format, casePrompts, dir.path()};
        caseLog.NameEventFile();
        EXPECT_EQ(caseLog.currentPath(), "EmergencyNameEvent7-3-2015.txt") << c.blocked;
        EXPECT_EQ(casePrompts.messages(), c.tellsTheUser ? std::vector<std::string>{kCannotCreate}
                                                         : std::vector<std::string>{})
            << c.blocked;
    }
}

TEST_F(EventLogTest, WithoutALogDirectoryTheUserIsToldEachTime) {
    std::filesystem::remove(dir / "Log");
    writeFile(dir / "Log", "a file where the Log directory belongs");
    log.NameEventFile();
    log.NameEventFile();
    EXPECT_EQ(prompts.messages(), (std::vector<std::string>{kCannotCreate, kCannotCreate}));
    log.WriteEvent("still journaled");
    ASSERT_TRUE(log.SaveEventLog());
    EXPECT_EQ(readFile(dir / "EmergencyNameEvent7-3-2015.txt"),
              "[07.03.2015 14:02:11] still journaled \r\n");
}

TEST_F(EventLogTest, SavesCrLfLinesAndARestartContinuesTheDay) {
    log.NameEventFile();
    log.WriteEvent("Inverter connected.");
    log.WriteEvent("Setting RequestByWeb option.");
    ASSERT_TRUE(log.SaveEventLog());
    EXPECT_EQ(readFile(dir.path() / log.currentPath()),
              "[07.03.2015 14:02:11] Inverter connected. \r\n"
              "[07.03.2015 14:02:11] Setting RequestByWeb option. \r\n");

    EventList restarted;
    EventLog again{restarted, clock, format, prompts, dir.path()};
    again.NameEventFile();
    ASSERT_TRUE(again.LoadEventLog());
    clock.advance(std::chrono::minutes(5));
    again.WriteEvent("after restart");
    EXPECT_EQ(restarted.snapshot(),
              (EventList::Lines{"[07.03.2015 14:02:11] Inverter connected. ",
                                "[07.03.2015 14:02:11] Setting RequestByWeb option. ",
                                "[07.03.2015 14:07:11] after restart "}));
}

// The file follows the day it was named on, not the clock: a save after
// midnight still writes yesterday's file until the next day is named.
TEST_F(EventLogTest, SavesGoToTheNamedDaysFileUntilTheNextDayIsNamed) {
    log.NameEventFile();
    log.WriteEvent("last of the day");
    clock.set({{2015, 3, 8}, {0, 0, 1, 0}});
    ASSERT_TRUE(log.SaveEventLog());
    const auto yesterday = dir / "Log/LogEvent/2015/3/7/EventLog7-3-2015.txt";
    EXPECT_EQ(readFile(yesterday), "[07.03.2015 14:02:11] last of the day \r\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "Log/LogEvent/2015/3/8"));

    log.NameEventFile();
    EXPECT_EQ(log.currentPath(), "Log/LogEvent/2015/3/8/EventLog8-3-2015.txt");
    log.WriteEvent("first of the day");
    ASSERT_TRUE(log.SaveEventLog());
    EXPECT_EQ(readFile(yesterday), "[07.03.2015 14:02:11] last of the day \r\n");
    EXPECT_TRUE(readFile(dir.path() / log.currentPath()).ends_with("first of the day \r\n"));
}

TEST_F(EventLogTest, LoadSplitsAtAnyLineEndAndIgnoresAMissingFile) {
    log.NameEventFile();
    list.append("kept");
    EXPECT_FALSE(log.LoadEventLog());
    EXPECT_EQ(list.snapshot(), EventList::Lines{"kept"});

    writeFile(dir.path() / log.currentPath(), "a\r\nb\nc\rd\r\n\r\ne");
    ASSERT_TRUE(log.LoadEventLog());
    EXPECT_EQ(list.snapshot(), (EventList::Lines{"a", "b", "c", "d", "", "e"}));
}

TEST_F(EventLogTest, AFailedSaveKeepsTheListAndTheOldFile) {
    log.NameEventFile();
    log.WriteEvent("saved once");
    ASSERT_TRUE(log.SaveEventLog());
    const auto path = dir.path() / log.currentPath();
    const std::string saved = readFile(path);

    log.WriteEvent("not saved");
    std::filesystem::create_directories(AtomicFile::temporaryPathFor(path) / "blocker");
    EXPECT_FALSE(log.SaveEventLog());
    EXPECT_EQ(readFile(path), saved);
    EXPECT_EQ(list.size(), 2u);

    EventLog unnamed{list, clock, format, prompts, dir.path()};
    EXPECT_FALSE(unnamed.SaveEventLog());
}

TEST(EventLogLines, AWriterStopsAtTheFirstFailure) {
    class FailingSink final : public ByteSink {
    public:
        explicit FailingSink(size_t capacity) : m_left(capacity) {}
        bool write(std::string_view bytes) override {
            if (bytes.size() > m_left) {
                return false;
            }
            m_left -= bytes.size();
            return true;
        }

    private:
        size_t m_left;
    };
    FailingSink sink(5);
    EXPECT_FALSE(EventLog::writeLines({"abc", "def"}, sink));
    StringSink whole;
    EXPECT_TRUE(EventLog::writeLines({"abc", "def"}, whole));
    EXPECT_EQ(whole.bytes(), "abc\r\ndef\r\n");
}

}  // namespace
}  // namespace brevanto
