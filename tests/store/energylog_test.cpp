#include "store/energylog.h"

#include <optional>
#include <string>
#include <vector>

#include "energyfixture.h"

namespace brevanto::testing {
namespace {

using Texts = std::vector<std::string>;

constexpr LocalDate kMarch30{2015, 3, 30};
constexpr LocalDate kMarch31{2015, 3, 31};
constexpr LocalDate kApril1{2015, 4, 1};
constexpr const char* kMarchFile = "Log/LogEnergy/2015/3/EnergyLog_3-2015.csv";
constexpr const char* kMarch30Line = "30/03/2015,9.000,1.000,0.900,1232.000,88.000\r\n";
constexpr const char* kMarch31Line = "31/03/2015,1.500,0.250,0.200,1234.567,89.000\r\n";
constexpr const char* kReadFailure = "Error reading Energy log file.";
constexpr const char* kWriteFailure = "Error writing Energy Log.";

EnergyLine line(const LocalDate& date, double solar, double totalSolar = 1234.567) {
    return {date, {solar, 0.25, 0.2}, totalSolar, 89};
}

class EnergyLogTest : public EnergyFixture {
protected:
    std::filesystem::path march() const { return dir / kMarchFile; }
    // The month's file as an earlier run left it.
    void placeMarch(std::string_view content) const {
        std::filesystem::create_directories(march().parent_path());
        writeFile(march(), content);
    }

    EnergyLog log{services, writer};
};

TEST_F(EnergyLogTest, TheDayChangeEndsMarchsFileAndStartsAprils) {
    placeMarch(kMarch30Line);
    EXPECT_EQ(log.Name(kMarch31), "3");
    EXPECT_EQ(log.currentPath(), kMarchFile);
    log.checkpoint(line(kMarch31, 1.4));
    ASSERT_TRUE(log.Write(line(kMarch31, 1.5)));

    EXPECT_EQ(log.Name(kApril1), "4");
    EXPECT_EQ(log.EnergyMonth(), "4");
    EXPECT_EQ(log.currentPath(), "Log/LogEnergy/2015/4/EnergyLog_4-2015.csv");
    log.empty();
    EXPECT_EQ(log.table().caption(), "Month = 4 (updated at midnight)");
    EXPECT_EQ(log.table().rows().rowCount(), 0u);
    log.checkpoint(line(kApril1, 0.1, 1234.667));
    settle();
    EXPECT_EQ(readFile(march()), std::string(kMarch30Line) + kMarch31Line);
    EXPECT_EQ(readFile(dir.path() / log.currentPath()),
              "01/04/2015,0.100,0.250,0.200,1234.667,89.000\r\n");
}

TEST_F(EnergyLogTest, TheRunsCheckpointLineIsUpdatedInPlaceAndTheFinalWriteReplacesIt) {
    placeMarch(kMarch30Line);
    log.Name(kMarch31);
    log.checkpoint(line(kMarch31, 1.0));
    settle();
    EXPECT_EQ(readFile(march()),
              std::string(kMarch30Line) + "31/03/2015,1.000,0.250,0.200,1234.567,89.000\r\n");
    log.checkpoint(line(kMarch31, 1.2));
    settle();
    EXPECT_EQ(readFile(march()),
              std::string(kMarch30Line) + "31/03/2015,1.200,0.250,0.200,1234.567,89.000\r\n");

    // Any write from here on would replace the marker.
    writeFile(march(), "marker");
    log.checkpoint(line(kMarch31, 1.2));
    settle();
    EXPECT_EQ(readFile(march()), "marker");

    ASSERT_TRUE(log.Write(line(kMarch31, 1.5)));
    EXPECT_EQ(readFile(march()), std::string(kMarch30Line) + kMarch31Line);
}

TEST_F(EnergyLogTest, ARunKilledAfterACheckpointRestartsWithItsCounters) {
    placeMarch(kMarch30Line);
    log.Name(kMarch31);
    log.checkpoint(line(kMarch31, 1.5));
    settle();

    EnergyLog restarted{services, writer};
    restarted.Name(kMarch31);
    const EnergyLog::Loaded loaded = restarted.Load(kMarch31);
    EXPECT_TRUE(loaded.read);
    EXPECT_EQ(loaded.today, (DayEnergy{1.5, 0.25, 0.2}));
    const LogTable& table = restarted.table();
    EXPECT_EQ(table.titles(),
              (Texts{"Date", "Sol. Energy", "Line. Energy (app)", "Line Energy (act)",
                     "Total Solar Energy", "Total Line Energy"}));
    EXPECT_EQ(table.caption(), "Month = 3 (updated at midnight)");
    EXPECT_EQ(table.countLabel(), "Lines = 3");
    EXPECT_EQ(table.rows().line(1), "31/03/2015,1.500,0.250,0.200,1234.567,89.000");

    // The killed run's last line stays as that run's end.
    restarted.checkpoint(line(kMarch31, 1.7));
    settle();
    EXPECT_EQ(readFile(march()), std::string(kMarch30Line) + kMarch31Line +
                                     "31/03/2015,1.700,0.250,0.200,1234.567,89.000\r\n");
    EXPECT_TRUE(prompts.warnings().empty());
}

TEST_F(EnergyLogTest, LoadRestoresOnlyTodaysCountersAndRefusesWhatDoesNotRead) {
    struct Case {
        const char* name;
        std::optional<std::string> content;
        bool read;
        std::optional<DayEnergy> today;
        std::size_t rows;
    };
    const DayEnergy restored{1.5, 0.25, 0.2};
    const Case cases[] = {
        {"missing file", std::nullopt, false, std::nullopt, 0},
        {"empty file", "", true, std::nullopt, 0},
        {"today's line", std::string(kMarch30Line) + kMarch31Line, true, restored, 2},
        {"yesterday's line", kMarch30Line, true, std::nullopt, 1},
        {"torn last line", std::string(kMarch31Line) + "31/03/2015,1.7", true, restored, 1},
        {"no counters", "31/03/2015,,,,1234.567,89.000\r\n", true, std::nullopt, 1},
        {"too many cells", "31/03/2015,1.5,0.25,0.2,1234.567,89,7\r\n", true, restored, 1},
        {"another date format", "2015-03-31,1.500,0.250,0.200,1234.567,89.000\r\n", false,
         std::nullopt, 1},
        {"counter not a number", "31/03/2015,1.500,lots,0.200,1234.567,89.000\r\n", false,
         std::nullopt, 1},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(dir / "Log/LogEnergy");
        if (c.content) {
            placeMarch(*c.content);
        }
        RecordingPrompts casePrompts;
        RecordingEventSink caseEvents;
        const Services caseServices{clock, format, casePrompts, mainThread, caseEvents, dir.path()};
        EnergyLog fresh{caseServices, writer};
        fresh.Name(kMarch31);
        const EnergyLog::Loaded loaded = fresh.Load(kMarch31);
        EXPECT_EQ(loaded.read, c.read) << c.name;
        EXPECT_EQ(loaded.today, c.today) << c.name;
        EXPECT_EQ(fresh.table().rows().rowCount(), c.rows) << c.name;
        const bool refused = c.content && !c.read;
        EXPECT_EQ(casePrompts.warnings(), refused ? Texts{kReadFailure} : Texts{}) << c.name;
        EXPECT_EQ(caseEvents.messages(), refused ? Texts{kReadFailure} : Texts{}) << c.name;
        if (c.content) {
            EXPECT_EQ(fresh.table().countLabel(), "Lines = " + std::to_string(c.rows + 1))
                << c.name;
        }
    }
}

TEST_F(EnergyLogTest, AFailedWriteSaysSoAndTheNextWriteStillCarriesItsLine) {
    log.Name(kMarch30);
    const std::filesystem::path month = march().parent_path();
    std::filesystem::remove_all(month);
    writeFile(month, "a file where the month's folder belongs");
    EXPECT_FALSE(log.Write(line(kMarch30, 9)));
    EXPECT_EQ(prompts.warnings(), Texts{kWriteFailure});
    log.checkpoint(line(kMarch31, 1.0));
    settle();
    log.checkpoint(line(kMarch31, 1.1));
    settle();
    EXPECT_EQ(events.messages(), Texts{"Cannot save " + std::string(kMarchFile) + "."});

    std::filesystem::remove(month);
    std::filesystem::create_directory(month);
    ASSERT_TRUE(log.Write(line(kMarch31, 1.5)));
    EXPECT_EQ(readFile(march()),
              "30/03/2015,9.000,0.250,0.200,1234.567,89.000\r\n" + std::string(kMarch31Line));
}

TEST_F(EnergyLogTest, AFileTooBigToReadIsLeftAlone) {
    std::string huge;
    while (huge.size() <= 16 * 1024 * 1024) {
        huge += kMarch30Line;
    }
    placeMarch(huge);
    log.Name(kMarch31);
    EXPECT_FALSE(log.Load(kMarch31).read);
    log.checkpoint(line(kMarch31, 1.0));
    settle();
    EXPECT_FALSE(log.Write(line(kMarch31, 1.5)));
    EXPECT_EQ(std::filesystem::file_size(march()), huge.size());
    EXPECT_EQ(prompts.warnings(), (Texts{kReadFailure, kWriteFailure}));
    EXPECT_EQ(events.messages(),
              (Texts{kReadFailure, "Cannot save " + std::string(kMarchFile) + "."}));
}

TEST_F(EnergyLogTest, WithoutItsFolderTheMonthsFileGoesToTheWorkingFolder) {
    std::filesystem::remove(dir / "Log");
    writeFile(dir / "Log", "a file where the Log folder belongs");
    EXPECT_EQ(log.Name(kMarch31), "3");
    EXPECT_EQ(log.currentPath(), "EmergencyNameEnergy3-2015.csv");
    EXPECT_EQ(
        prompts.messages(),
        Texts{"Cannot create Directory for Energy log file. Current directory will be used."});
    ASSERT_TRUE(log.Write(line(kMarch31, 1.5)));
    EXPECT_EQ(readFile(dir / "EmergencyNameEnergy3-2015.csv"), kMarch31Line);
}

}  // namespace
}  // namespace brevanto::testing
