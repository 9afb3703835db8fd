// The writers of the main page's value lines: each replaces its whole line,
// placeholder indentation included, and nothing else.
#include "hub/mainpagewriter.h"

#include <atomic>
#include <set>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace brevanto {
namespace {

class MainPageWriterTest : public ::testing::Test {
protected:
    MainPageWriterTest() { pages.BuildPageTemplates(); }

    std::string line(std::size_t index) const { return pages.MainPage().line(index); }
    const TemplateLines& at() const { return pages.TemplateLine(); }

    PageTemplates pages;
    MainPageWriter writer{pages};
};

TEST_F(MainPageWriterTest, TheDisplayReplacesWholeLinesAndNoOthers) {
    std::vector<std::string> before;
    for (std::size_t i = 0; i < pages.MainPage().lineCount(); ++i) {
        before.push_back(line(i));
    }
    DisplayTexts texts;
    texts.basic[0] = "238.3";
    texts.computed[5] = "12.500";
    texts.mode = "Battery";
    writer.writeDisplay(texts, "07.03.2015 - 14:02:11 (Refresh = 2 sec.)");
    EXPECT_EQ(line(at().bVar[0]), "238.3");
    EXPECT_EQ(line(at().var[5]), "12.500");
    EXPECT_EQ(line(at().modeStatus), "Battery");
    EXPECT_EQ(line(at().timeStamp), "07.03.2015 - 14:02:11 (Refresh = 2 sec.)");

    const TemplateLines& at = pages.TemplateLine();
    std::set<std::size_t> written{at.timeStamp, at.modeStatus, at.batteryStatus, at.loadStatus};
    written.insert(at.bVar.begin(), at.bVar.end());
    written.insert(at.var.begin(), at.var.end());
    ASSERT_EQ(pages.MainPage().lineCount(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(line(i) != before[i], written.count(i) == 1) << "line " << i;
    }
}

TEST_F(MainPageWriterTest, EachStateAndValueGoesToItsOwnLine) {
    DisplayTexts texts;
    for (std::size_t k = 0; k < texts.basic.size(); ++k) {
        texts.basic[k] = "basic " + std::to_string(k + 1);
    }
    for (std::size_t k = 0; k < texts.computed.size(); ++k) {
        texts.computed[k] = "computed " + std::to_string(k + 1);
    }
    texts.mode = "Line";
    texts.battery = "Discharging";
    texts.load = "Source:Battery";
    writer.writeDisplay(texts, "stamp");
    // The lines of the rows as the page lays them out.
    const std::pair<std::size_t, const char*> kLines[] = {
        {35, "stamp"},       {48, "Line"},        {56, "Discharging"}, {64, "Source:Battery"},
        {76, "basic 1"},     {82, "basic 6"},     {88, "basic 11"},    {97, "basic 2"},
        {103, "basic 7"},    {109, "basic 12"},   {118, "basic 3"},    {124, "basic 8"},
        {130, "basic 13"},   {139, "basic 4"},    {145, "basic 9"},    {151, "basic 14"},
        {160, "basic 5"},    {166, "basic 10"},   {172, "basic 15"},   {185, "computed 1"},
        {191, "computed 4"}, {199, "computed 2"}, {205, "computed 5"}, {213, "computed 3"},
        {219, "computed 6"},
    };
    for (const auto& [index, text] : kLines) {
        EXPECT_EQ(line(index), text) << "line " << index;
    }
}

TEST_F(MainPageWriterTest, EveryBasicNameCarriesTheUnitOfItsPanel) {
    writer.writeNames(TDati{});
    const std::pair<std::size_t, const char*> kNames[] = {
        {73, "AC Voltage (V)"},
        {94, "AC Frequency (Hz)"},
        {115, "PV Input Voltage (V)"},
        {136, "PV Input Corrent (A)"},
        {157, "Battery Voltage (V)"},
        {79, "Battery Capacity (%)"},
        {100, "Charging Current (A)"},
        {121, "Discharge Current (A)"},
        {142, "Output Frequency (Hz)"},
        {163, "Output Voltage (V)"},
        {85, "Output Apparent Power (VA)"},
        {106, "Output Active Power (W)"},
        {127, "Load Percent (%)"},
        {148, "Inverter HS Temperature (C)"},
        {169, "Bus Voltage (V)"},
        {182, "Solar Energy (24h) (kWh)"},
        {196, "Solar Power (W)"},
        {216, "[B]Total Line Energy (kWh)"},
    };
    for (const auto& [index, text] : kNames) {
        EXPECT_EQ(line(index), text) << "line " << index;
    }
}

// Each display is one reading: the stamp and every value say which. A
// reader renders the page while the display is rewritten and must never
// see two readings in one page.
TEST_F(MainPageWriterTest, ARenderedPageShowsOneReadingWhole) {
    std::atomic<bool> writing{true};
    std::atomic<int> renders{0};
    std::atomic<int> torn{0};
    std::thread reader([&] {
        while (writing) {
            const std::string page = RenderPage(pages.MainPage());
            const auto stampAt = page.find("reading ");
            if (stampAt == std::string::npos) {
                continue;
            }
            const std::string stamp = page.substr(stampAt, page.find('\n', stampAt) - stampAt);
            for (auto at = page.find("reading "); at != std::string::npos;
                 at = page.find("reading ", at + 1)) {
                if (page.compare(at, stamp.size() + 1, stamp + "\n") != 0) {
                    ++torn;
                }
            }
            ++renders;
        }
    });
    DisplayTexts texts;
    for (int reading = 0; reading < 2000 || renders < 200; ++reading) {
        const std::string value = "reading " + std::to_string(reading);
        texts.basic.fill(value);
        texts.computed.fill(value);
        texts.mode = texts.battery = texts.load = value;
        writer.writeDisplay(texts, value);
    }
    writing = false;
    reader.join();
    EXPECT_EQ(torn.load(), 0);
}

TEST_F(MainPageWriterTest, NamesCarryTheirUnitsAndMarkupStaysAsGiven) {
    TDati settings;
    settings.basicLabels.fill("x");
    settings.basicLabels[0] = "AC Voltage";
    settings.computedLabels.fill("y");
    settings.computedUnits.fill("u");
    settings.computedLabels[0] = "Solar <b>";
    settings.computedUnits[0] = "kWh";
    settings.title = "Home & garden";
    writer.writeNames(settings);
    writer.writeTitle(settings);
    EXPECT_EQ(line(at().nameVar[0]), "AC Voltage (V)");
    EXPECT_EQ(line(at().nameVar[14]), "x (V)");
    EXPECT_EQ(line(at().name[0]), "Solar <b> (kWh)");
    EXPECT_EQ(line(at().heading), "Home & garden");
    EXPECT_EQ(line(at().title), "Brevanto");
}

TEST_F(MainPageWriterTest, ALineFaultTurnsTheHeadingRedAndTheRestoreBack) {
    writer.writeLineFault(true);
    EXPECT_EQ(line(at().flowColour), "#FF0000");
    EXPECT_EQ(line(at().flowHeading), "Energy flow -- **WARNING** Line down --");
    writer.writeLineFault(false);
    EXPECT_EQ(line(at().flowColour), "#0000FF");
    EXPECT_EQ(line(at().flowHeading), "Energy flow");
}

TEST_F(MainPageWriterTest, TheComputedHeaderNamesWhenTheTotalsBegan) {
    writer.writeComputedHeader("01.01.2015");
    EXPECT_EQ(line(at().computedHeader), "Computed values ( [A] and [B] from 01.01.2015 )");
}

}  // namespace
}  // namespace brevanto
