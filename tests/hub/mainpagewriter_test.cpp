// The writers of the main page's value lines: each replaces its whole line,
// placeholder indentation included, and nothing else.
#include "hub/mainpagewriter.h"

#include <set>
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
