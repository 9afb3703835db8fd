#include "store/daylog.h"

#include <sys/stat.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/queuedinvoker.h"
#include "platform/testing/manualclock.h"
#include "platform/testing/recordingeventsink.h"
#include "platform/testing/recordingprompts.h"
#include "support/tempdir.h"

namespace brevanto {
namespace {

using namespace std::string_literals;
using testing::readFile;
using testing::RecordingPrompts;
using testing::writeFile;

constexpr const char* kBasicCannotCreate =
    "Cannot create Directory for Variables log file. Current directory will be used.";
constexpr const char* kComputedCannotCreate =
    "Cannot create Directory for Computed Variables log file. Current directory will be used.";
constexpr const char* kBasicReadFailure = "Error reading Variables Log.";

const LocalDate kDay{2015, 3, 7};
const std::vector<std::string> kTitles = {"a", "b", "c", "d", "e", "f", "g", "h",
                                          "i", "j", "k", "l", "m", "n", "o"};

std::vector<std::string> numbered(int count, int from = 1) {
    std::vector<std::string> values;
    for (int i = 0; i < count; ++i) {
        values.push_back(std::to_string(from + i));
    }
    return values;
}

std::vector<std::string> rowsOf(const DayTable& rows) {
    std::vector<std::string> lines;
    for (std::size_t row = 0; row < rows.rowCount(); ++row) {
        lines.emplace_back(rows.line(row));
    }
    return lines;
}

class DayLogFixture : public ::testing::Test {
protected:
    DayLogFixture() { std::filesystem::create_directory(dir / "Log"); }

    std::string dayFile() const { return readFile(dir.path() / basic.currentPath()); }

    testing::TempDir dir;
    testing::ManualClock clock;
    DateTimeFormat format{"%d/%m/%Y", "%H:%M:%S"};
    RecordingPrompts prompts;
    QueuedInvoker mainThread;
    testing::RecordingEventSink events;
    Services services{clock, format, prompts, mainThread, events, dir.path()};
    DayLog basic{basicLogKind(), services};
};

TEST_F(DayLogFixture, NamesTheDaysFileInItsOwnDirectories) {
    struct Case {
        const DayLogKind& kind;
        LocalDate date;
        const char* path;
    };
    const Case cases[] = {
        {basicLogKind(), {2015, 3, 7}, "Log/LogVariables/2015/3/7/BasicLog_7-3-2015.csv"},
        {basicLogKind(), {2016, 1, 1}, "Log/LogVariables/2016/1/1/BasicLog_1-1-2016.csv"},
        {computedLogKind(),
         {2016, 12, 31},
         "Log/LogComputed/2016/12/31/ComputedLog_31-12-2016.csv"},
    };
    for (const Case& c : cases) {
        DayLog log{c.kind, services};
        EXPECT_TRUE(log.currentPath().empty());
        log.Name(c.date);
        EXPECT_EQ(log.currentPath(), c.path);
        EXPECT_TRUE(std::filesystem::is_directory((dir.path() / c.path).parent_path())) << c.path;
    }
    EXPECT_TRUE(prompts.messages().empty());
}

TEST_F(DayLogFixture, FallsBackToTheWorkingDirectory) {
    // A file in place of a directory level makes that level impossible.
    struct Case {
        const DayLogKind& kind;
        const char* blocked;
        const char* fallback;
        const char* message;
    };
    const Case cases[] = {
        {basicLogKind(), "Log/LogVariables", "EmergencyNameVariables7-3-2015.csv",
         kBasicCannotCreate},
        {basicLogKind(), "Log/LogVariables/2015/3", "EmergencyNameVariables7-3-2015.csv", nullptr},
        {computedLogKind(), "Log/LogComputed", "EmergencyComputedNameVariables7-3-2015.csv",
         kComputedCannotCreate},
        {computedLogKind(), "Log/LogComputed/2015/3/7",
         "EmergencyComputedNameVariables7-3-2015.csv", nullptr},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(dir / "Log");
        std::filesystem::create_directories((dir.path() / c.blocked).parent_path());
        writeFile(dir.path() / c.blocked, "not a directory");
        RecordingPrompts casePrompts;
        Services caseServices{clock, format, casePrompts, mainThread, events, dir.path()};
        DayLog log{c.kind, caseServices};
        log.Name(kDay);
        EXPECT_EQ(log.currentPath(), c.fallback) << c.blocked;
        EXPECT_EQ(casePrompts.messages(),
                  c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{})
            << c.blocked;
        log.addRow("14:02:11", "07/03/2015", numbered(3));
        EXPECT_EQ(readFile(dir / c.fallback).substr(0, 15), "14:02:11,1,2,3,") << c.blocked;
        std::filesystem::remove(dir / c.fallback);
    }
}

TEST_F(DayLogFixture, EachSampleReachesTheFileAtOnceAndTellsTheViewerOnce) {
    int told = 0;
    const Subscription subscription = basic.table().addChangeListener([&told] { ++told; });
    basic.Name(kDay);
    basic.addRow("14:02:11", "07/03/2015", numbered(15));
    EXPECT_EQ(told, 1);
    EXPECT_EQ(dayFile(), "14:02:11,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15\r\n");
    EXPECT_EQ(basic.table().caption(), "Day = 07/03/2015");
    EXPECT_EQ(basic.table().countLabel(), "Lines = 1");

    basic.addRow("14:02:12", "07/03/2015", numbered(15, 2));
    EXPECT_EQ(told, 2);
    EXPECT_EQ(dayFile(),
              "14:02:11,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15\r\n"
              "14:02:12,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16\r\n");
    EXPECT_EQ(basic.table().countLabel(), "Lines = 2");
}

TEST_F(DayLogFixture, ASampleRowHasOneFieldPerColumn) {
    struct Case {
        int values;
        const char* line;
    };
    const Case cases[] = {
        {6, "t,1,2,3,4,5,6"},
        {2, "t,1,2,,,,"},
        {9, "t,1,2,3,4,5,6"},
    };
    for (const Case& c : cases) {
        DayLog computed{computedLogKind(), services};
        computed.Name(kDay);
        computed.addRow("t", "07/03/2015", numbered(c.values));
        EXPECT_EQ(computed.table().rows().line(0), c.line);
        EXPECT_EQ(readFile(dir.path() / computed.currentPath()), c.line + "\r\n"s);
        std::filesystem::remove(dir.path() / computed.currentPath());
    }
}

TEST_F(DayLogFixture, NothingIsWrittenBeforeTheFileIsNamed) {
    basic.addRow("14:02:11", "07/03/2015", numbered(15));
    EXPECT_EQ(basic.table().rows().rowCount(), 1u);
    EXPECT_FALSE(basic.Write());
    EXPECT_EQ(std::distance(std::filesystem::recursive_directory_iterator(dir.path()), {}), 1);
}

TEST_F(DayLogFixture, WriteReplacesTheFileWithTheWholeTable) {
    basic.Name(kDay);
    ASSERT_TRUE(basic.Write());
    EXPECT_TRUE(std::filesystem::exists(dir.path() / basic.currentPath()));
    EXPECT_EQ(dayFile(), "");

    for (int row = 0; row < 3; ++row) {
        basic.addRow("14:02:1" + std::to_string(row), "07/03/2015", numbered(15, row));
    }
    writeFile(dir.path() / basic.currentPath(), "stale\r\n");
    ASSERT_TRUE(basic.Write());
    EXPECT_EQ(dayFile(),
              "14:02:10,0,1,2,3,4,5,6,7,8,9,10,11,12,13,14\r\n"
              "14:02:11,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15\r\n"
              "14:02:12,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16\r\n");
}

TEST_F(DayLogFixture, WriteFailsQuietlyWhenTheFileCannotBeReplaced) {
    basic.Name(kDay);
    std::filesystem::create_directory(dir.path() / basic.currentPath());
    EXPECT_FALSE(basic.Write());
    EXPECT_TRUE(prompts.messages().empty());
    EXPECT_TRUE(prompts.warnings().empty());
}

TEST_F(DayLogFixture, ARestartContinuesTheDay) {
    basic.Name(kDay);
    for (int row = 0; row < 10; ++row) {
        basic.addRow(std::to_string(row), "07/03/2015", numbered(15));
    }
    const std::string written = dayFile();

    DayLog restarted{basicLogKind(), services};
    restarted.Name(kDay);
    ASSERT_TRUE(restarted.Load(kTitles));
    EXPECT_EQ(rowsOf(restarted.table().rows()), rowsOf(basic.table().rows()));
    EXPECT_EQ(restarted.table().countLabel(), "Lines = 11");
    ASSERT_EQ(restarted.table().titles().size(), 16u);
    EXPECT_EQ(restarted.table().titles().front(), "date");
    EXPECT_EQ(restarted.table().titles().back(), "o");
    EXPECT_EQ(dayFile(), written);

    restarted.addRow("10", "07/03/2015", numbered(15));
    EXPECT_EQ(dayFile(), written + "10,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15\r\n");
    EXPECT_EQ(restarted.table().countLabel(), "Lines = 11");
}

TEST_F(DayLogFixture, LoadTakesEveryLineAsItCan) {
    const std::string megabyte(1 << 20, '9');
    std::string manyCells;
    for (int cell = 0; cell < 200000; ++cell) {
        manyCells += std::to_string(cell) + ",";
    }
    struct Case {
        const char* what;
        std::string file;
        std::vector<std::string> rows;
    };
    const Case cases[] = {
        {"a blank inside a time",
         "2:02:11 PM,1,2\r\n2:02:12 PM,3,4\r\n",
         {"2:02:11 PM,1,2", "2:02:12 PM,3,4"}},
        {"more cells than columns",
         "t," + manyCells.substr(0, 60) + "\r\n",
         {"t,0,1,2,3,4,5,6,7,8,9,10,11,12,13,14"}},
        {"LF ends and empty lines", "\r\na\n\n\r\nb\r\n", {"a", "b"}},
        {"a megabyte in one cell", megabyte + "\r\nx\r\n", {std::string(39, '9'), "x"}},
        {"a megabyte of cells", manyCells + "\r\n", {"0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15"}},
        {"binary junk", "\0\x01\x7f\xff,\x1b[0m\r\r\n"s, {"   \xff, [0m "}},
    };
    basic.Name(kDay);
    for (const Case& c : cases) {
        writeFile(dir.path() / basic.currentPath(), c.file);
        ASSERT_TRUE(basic.Load(kTitles)) << c.what;
        EXPECT_EQ(rowsOf(basic.table().rows()), c.rows) << c.what;
        EXPECT_EQ(basic.table().countLabel(), "Lines = " + std::to_string(c.rows.size() + 1));
        EXPECT_EQ(dayFile(), c.file) << c.what << ": a whole file is left as it is";
    }
}

// A power cut during an append leaves part of a line after the last line
// end. Were it kept, the next row would be glued onto it.
TEST_F(DayLogFixture, ATornLastLineIsDroppedAndTheFileRepaired) {
    const char* const torn[] = {"a,1\r\nb,2\r\nc,", "a,1\r\nb,2\r\nc,3\r"};
    basic.Name(kDay);
    for (const char* file : torn) {
        writeFile(dir.path() / basic.currentPath(), file);
        ASSERT_TRUE(basic.Load(kTitles)) << file;
        EXPECT_EQ(rowsOf(basic.table().rows()), (std::vector<std::string>{"a,1", "b,2"})) << file;
        EXPECT_EQ(basic.table().countLabel(), "Lines = 3");
        EXPECT_EQ(dayFile(), "a,1\r\nb,2\r\n") << file;
        basic.addRow("d", "07/03/2015", numbered(15));
        EXPECT_EQ(dayFile(), "a,1\r\nb,2\r\nd,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15\r\n") << file;
    }
}

TEST_F(DayLogFixture, AMissingFileLeavesAnEmptyTableQuietly) {
    basic.Name(kDay);
    basic.addRow("14:02:11", "07/03/2015", numbered(15));
    EXPECT_FALSE(DayLog(basicLogKind(), services).Load(kTitles)) << "no file named yet";
    std::filesystem::remove(dir.path() / basic.currentPath());
    EXPECT_FALSE(basic.Load(kTitles));
    EXPECT_EQ(basic.table().rows().rowCount(), 0u);
    EXPECT_EQ(basic.table().rows().columns(), 16);
    EXPECT_TRUE(prompts.messages().empty());
    EXPECT_TRUE(prompts.warnings().empty());
}

TEST_F(DayLogFixture, AFileThatCannotBeReadGivesTheBasicLogsBox) {
    struct Case {
        const char* what;
        void (*put)(const std::filesystem::path&);
    };
    const Case cases[] = {
        {"a directory",
         [](const std::filesystem::path& p) { std::filesystem::create_directory(p); }},
        {"a FIFO", [](const std::filesystem::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0644), 0); }},
        {"past the bound",
         [](const std::filesystem::path& p) {
             writeFile(p, "");
             std::filesystem::resize_file(p, DayLog::kMaxFileBytes + 1);
         }},
    };
    for (const Case& c : cases) {
        for (const DayLogKind* kind : {&basicLogKind(), &computedLogKind()}) {
            RecordingPrompts casePrompts;
            Services caseServices{clock, format, casePrompts, mainThread, events, dir.path()};
            DayLog log{*kind, caseServices};
            log.Name(kDay);
            const std::filesystem::path path = dir.path() / log.currentPath();
            c.put(path);
            EXPECT_FALSE(log.Load(kTitles)) << c.what;
            const bool basicKind = kind == &basicLogKind();
            EXPECT_EQ(casePrompts.warnings(), basicKind
                                                  ? std::vector<std::string>{kBasicReadFailure}
                                                  : std::vector<std::string>{})
                << c.what;
            EXPECT_TRUE(casePrompts.messages().empty());
            std::filesystem::remove(path);
        }
    }
}

TEST_F(DayLogFixture, LoadsAHalfMillionLines) {
    constexpr int kLines = 500000;
    std::string file;
    for (int line = 0; line < kLines; ++line) {
        file += std::to_string(line) + ",1,2\r\n";
    }
    basic.Name(kDay);
    writeFile(dir.path() / basic.currentPath(), file);
    ASSERT_TRUE(basic.Load(kTitles));
    ASSERT_EQ(basic.table().rows().rowCount(), std::size_t{kLines});
    EXPECT_EQ(basic.table().rows().line(kLines - 1), "499999,1,2");
    EXPECT_EQ(basic.table().countLabel(), "Lines = 500001");
}

TEST_F(DayLogFixture, TheHeaderIsTheDateAndOneTitlePerValueColumn) {
    DayLog computed{computedLogKind(), services};
    EXPECT_EQ(computed.table().caption(), "ComputedList");
    EXPECT_EQ(basic.table().caption(), "VariablesList");
    computed.setHeader(std::vector<std::string>{"p", "q"});
    EXPECT_EQ(computed.table().titles(), (std::vector<std::string>{"date", "p", "q"}));
    computed.setHeader(kTitles);
    EXPECT_EQ(computed.table().titles(),
              (std::vector<std::string>{"date", "a", "b", "c", "d", "e", "f"}));
}

TEST_F(DayLogFixture, EmptyDropsTheRowsAndKeepsTheCount) {
    for (int row = 0; row < 3; ++row) {
        basic.addRow("t", "07/03/2015", numbered(15));
    }
    const auto generation = basic.table().rows().generation();
    int told = 0;
    const Subscription subscription = basic.table().addChangeListener([&told] { ++told; });
    basic.empty();
    EXPECT_EQ(told, 1);
    EXPECT_EQ(basic.table().rows().rowCount(), 0u);
    EXPECT_EQ(basic.table().rows().generation(), generation + 1);
    EXPECT_EQ(basic.table().countLabel(), "Lines = 3");
}

}  // namespace
}  // namespace brevanto
