#include "store/energytotals.h"

#include <string>
#include <vector>

#include "energyfixture.h"

namespace brevanto::testing {
namespace {

using Texts = std::vector<std::string>;

constexpr LocalDate kToday{2015, 3, 7};
constexpr LocalDate kTomorrow{2015, 3, 8};
constexpr const char* kExample = "01/06/2013,07/03/2015,1234.567,89.000\r\n";
constexpr const char* kReadFailure = "Error reading Total Energy Log.";
constexpr const char* kWriteFailure = "Error writing Total Energy Log.";
constexpr const char* kCannotSave = "Cannot save Log/EnergyTotalSolar.csv.";

class EnergyTotalsTest : public EnergyFixture {
protected:
    std::filesystem::path file() const { return dir.path() / EnergyTotals::path(); }
    std::filesystem::path aside(const char* suffix) const {
        return dir.path() / (std::string("Log/EnergyTotalSolar.csv.unreadable-") + suffix);
    }

    EnergyTotals totals{services, writer};
};

TEST_F(EnergyTotalsTest, TheFilesLastLineGivesTheTotalsAndTheDateTheyCountFrom) {
    std::string manyLines;
    for (int n = 0; n < 20000; ++n) {
        manyLines += "01/01/2010,01/01/2011,1.000,2.000\r\n";
    }
    const std::string cases[] = {
        kExample,
        std::string("01/01/2010,01/01/2011,1.000,2.000\r\n") + kExample,
        std::string(kExample) + "\r\n  \r\n",
        "01/06/2013,07/03/2015,1234.567,89.000",
        manyLines + kExample,
    };
    for (const std::string& content : cases) {
        writeFile(file(), content);
        EnergyTotals fresh{services, writer};
        EXPECT_EQ(fresh.Read(kToday), (Totals{1234.567, 89})) << content.substr(0, 80);
        EXPECT_EQ(fresh.TotalsSince(), "01/06/2013") << content.substr(0, 80);
    }
    EXPECT_TRUE(prompts.warnings().empty());
    EXPECT_TRUE(events.messages().empty());

    ASSERT_TRUE(totals.Read(kToday));
    ASSERT_TRUE(totals.Write({1234.5674, 90}, kTomorrow));
    EXPECT_EQ(readFile(file()), "01/06/2013,08/03/2015,1234.567,90.000\r\n");
}

TEST_F(EnergyTotalsTest, AFileThatDoesNotReadGivesTheBoxAndTheEventAndKeepsTotalsSince) {
    const std::string line = "01/06/2013,07/03/2015,1234.567,89.000";
    static constexpr char kBinary[] =
        "\x7f"
        "ELF\x02\x01\x01\0\0,\xff,1,2\r\n";
    std::string tooBig;
    while (tooBig.size() <= 16 * 1024 * 1024) {
        tooBig += line + "\r\n";
    }
    const std::string cases[] = {
        "",
        "\r\n\r\n",
        "01/06/2013,07/03/2015,1234.567\r\n",
        "01/06/2013,07/03/2015,1234.567,many\r\n",
        "01/06/2013,07/03/2015,inf,89.000\r\n",
        std::string(kBinary, sizeof kBinary - 1),
        line + std::string(1024 * 1024, ' ') + "\r\n",
        tooBig,
    };
    for (const std::string& content : cases) {
        EnergyTotals fresh{services, writer};
        writeFile(file(), kExample);
        ASSERT_TRUE(fresh.Read(kToday));
        writeFile(file(), content);
        const std::size_t shown = prompts.warnings().size();
        EXPECT_EQ(fresh.Read(kToday), std::nullopt) << content.substr(0, 60);
        EXPECT_EQ(fresh.TotalsSince(), "01/06/2013");
        EXPECT_EQ(prompts.warnings().size(), shown + 1) << content.substr(0, 60);
    }
    EXPECT_EQ(prompts.warnings(), Texts(std::size(cases), kReadFailure));
    EXPECT_EQ(events.messages(), Texts(std::size(cases), kReadFailure));
}

TEST_F(EnergyTotalsTest, AMissingFileStartsTheTotalsOnTheDayOfTheFirstWrite) {
    EXPECT_EQ(totals.Read(kToday), std::nullopt);
    EXPECT_EQ(totals.TotalsSince(), "07/03/2015");
    ASSERT_TRUE(totals.Write({1.5, 0.25}, kTomorrow));
    EXPECT_EQ(readFile(file()), "08/03/2015,08/03/2015,1.500,0.250\r\n");
    ASSERT_TRUE(totals.Write({2, 0.5}, {2015, 3, 9}));
    EXPECT_EQ(readFile(file()), "08/03/2015,09/03/2015,2.000,0.500\r\n");
    EXPECT_TRUE(prompts.warnings().empty());
    EXPECT_TRUE(events.messages().empty());
}

TEST_F(EnergyTotalsTest, AnUnreadableFileGoesAsideBeforeTheFirstWriteAndOnlyThen) {
    for (const bool byCheckpoint : {false, true}) {
        std::filesystem::remove_all(dir / "Log");
        std::filesystem::create_directory(dir / "Log");
        writeFile(file(), "garbage");
        writeFile(aside("2015-3-8"), "an older one");
        EnergyTotals fresh{services, writer};
        ASSERT_EQ(fresh.Read(kToday), std::nullopt);
        EXPECT_EQ(readFile(file()), "garbage");
        EXPECT_EQ(fresh.TotalsSince(), "");

        for (const Totals& next : {Totals{1, 2}, Totals{3, 4}}) {
            if (byCheckpoint) {
                fresh.checkpoint(next, kTomorrow);
                settle();
            } else {
                ASSERT_TRUE(fresh.Write(next, kTomorrow));
            }
        }
        EXPECT_EQ(readFile(file()), "08/03/2015,08/03/2015,3.000,4.000\r\n") << byCheckpoint;
        EXPECT_EQ(readFile(aside("2015-3-8-2")), "garbage");
        EXPECT_EQ(readFile(aside("2015-3-8")), "an older one");
        EXPECT_FALSE(std::filesystem::exists(aside("2015-3-8-3")));
        EXPECT_EQ(fresh.TotalsSince(), "08/03/2015");
    }
}

// A name the system refuses, even to root: the working folder lies so deep
// that the file's path is ten short of the longest path there is, so its
// temporary name still fits and the aside name does not.
TEST_F(EnergyTotalsTest, AnUnreadableFileThatCannotGoAsideIsNeverWritten) {
    constexpr std::size_t kLongestPath = 4095;
    const std::size_t rootLength = kLongestPath - 10 - 1 - EnergyTotals::path().native().size();
    std::filesystem::path deep = dir.path();
    while (deep.native().size() + 1 < rootLength) {
        deep /= std::string(std::min<std::size_t>(200, rootLength - deep.native().size() - 1), 'd');
    }
    ASSERT_LE((deep / EnergyTotals::path()).native().size() + 4, kLongestPath);  // ".tmp"
    ASSERT_GT((deep / EnergyTotals::path()).native().size() + 20, kLongestPath);
    std::filesystem::create_directories(deep / "Log");
    const Services deepServices{clock, format, prompts, mainThread, events, deep};
    writeFile(deep / EnergyTotals::path(), "garbage");
    EnergyTotals fresh{deepServices, writer};
    ASSERT_EQ(fresh.Read(kToday), std::nullopt);

    EXPECT_FALSE(fresh.Write({1, 2}, kTomorrow));
    fresh.checkpoint({1, 2}, kTomorrow);
    fresh.checkpoint({3, 4}, kTomorrow);
    settle();
    EXPECT_EQ(readFile(deep / EnergyTotals::path()), "garbage");
    EXPECT_EQ(prompts.warnings(), (Texts{kReadFailure, kWriteFailure}));
    EXPECT_EQ(events.messages(), (Texts{kReadFailure, kCannotSave}));
}

TEST_F(EnergyTotalsTest, ACheckpointWritesOnlyALineThatChanged) {
    ASSERT_EQ(totals.Read(kToday), std::nullopt);
    totals.checkpoint({1, 2}, kToday);
    settle();
    EXPECT_EQ(readFile(file()), "07/03/2015,07/03/2015,1.000,2.000\r\n");

    // Any write from here on would replace the marker.
    writeFile(file(), "marker");
    totals.checkpoint({1, 2}, kToday);
    totals.checkpoint({1, 2.0004}, kToday);
    settle();
    EXPECT_EQ(readFile(file()), "marker");

    totals.checkpoint({1, 2}, kTomorrow);
    settle();
    EXPECT_EQ(readFile(file()), "07/03/2015,08/03/2015,1.000,2.000\r\n");
    ASSERT_TRUE(totals.Write({5, 6}, kTomorrow));
    writeFile(file(), "marker");
    totals.checkpoint({5, 6}, kTomorrow);
    settle();
    EXPECT_EQ(readFile(file()), "marker");
}

TEST_F(EnergyTotalsTest, FailuresGiveTheBoxOrOneEventPerRunOfThem) {
    const auto blockLog = [this](bool blocked) {
        std::filesystem::remove_all(dir / "Log");
        if (blocked) {
            writeFile(dir / "Log", "a file where the folder belongs");
        } else {
            std::filesystem::create_directory(dir / "Log");
        }
    };
    ASSERT_EQ(totals.Read(kToday), std::nullopt);
    blockLog(true);
    EXPECT_FALSE(totals.Write({1, 2}, kToday));
    EXPECT_EQ(prompts.warnings(), Texts{kWriteFailure});

    totals.checkpoint({1, 3}, kToday);
    settle();
    totals.checkpoint({1, 4}, kToday);
    settle();
    EXPECT_EQ(events.messages(), Texts{kCannotSave});

    // The line that failed is tried again, though it has not changed.
    blockLog(false);
    totals.checkpoint({1, 4}, kToday);
    settle();
    EXPECT_EQ(readFile(file()), "07/03/2015,07/03/2015,1.000,4.000\r\n");
    blockLog(true);
    totals.checkpoint({1, 5}, kToday);
    settle();
    EXPECT_EQ(events.messages(), (Texts{kCannotSave, kCannotSave}));
    EXPECT_EQ(prompts.warnings(), Texts{kWriteFailure});

    // An outcome that arrives after its file's owner has gone changes nothing.
    {
        EnergyTotals gone{services, writer};
        gone.checkpoint({7, 8}, kToday);
    }
    settle();
    EXPECT_EQ(events.messages(), (Texts{kCannotSave, kCannotSave}));
}

}  // namespace
}  // namespace brevanto::testing
