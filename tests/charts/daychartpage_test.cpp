// The /Chart page: well-formed XML whatever the heading holds, with one line
// per stretch of readings and a word when there are none.
#include "charts/daychartpage.h"

#include <cstdio>
#include <optional>

#include <gtest/gtest.h>

#include "support/childprocess.h"
#include "support/tempdir.h"

namespace brevanto {
namespace {

constexpr const char* kRowTail = ",230,50,120,2.5,52.1,64,1,0,50,230,500,430,9,40,380";

// Python's own XML parser: what it accepts, any XML reader does.
bool wellFormed(const std::string& page, std::string& error) {
    testing::TempDir dir;
    testing::writeFile(dir / "page.xml", page);
    testing::ChildProcess parser(
        {"python3", "-c", "import sys, xml.dom.minidom; xml.dom.minidom.parse(sys.argv[1])",
         (dir / "page.xml").string()},
        {.outputFile = dir / "errors.txt"});
    const std::optional<int> status = parser.waitForExit();
    error = testing::readFile(dir / "errors.txt");
    return status == 0;
}

std::size_t count(const std::string& text, const std::string& part) {
    std::size_t found = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++found;
    }
    return found;
}

TEST(DayChartPage, IsWellFormedAndBreaksALineWhereTheReadingsPaused) {
    DaySeries series;
    for (int minute = 6 * 60; minute < 7 * 60; ++minute) {
        char time[16];
        std::snprintf(time, sizeof time, "%02d:%02d:00", minute / 60, minute % 60);
        series.addLine(std::string(time) + kRowTail);
    }
    // An hour later: the link was down in between.
    series.addLine(std::string("08:00:00") + kRowTail);
    series.addLine(std::string("08:01:00") + kRowTail);
    const std::string page = renderDayChartPage(series, "Brevanto <\"cabin\"> & shed");
    std::string error;
    EXPECT_TRUE(wellFormed(page, error)) << error;
    EXPECT_NE(page.find("Brevanto &lt;&quot;cabin&quot;&gt; &amp; shed"), std::string::npos);
    EXPECT_EQ(count(renderDayChartSvg(series), "<polyline"), 4u * 2)
        << "two stretches for each of four curves";
    EXPECT_EQ(count(page, "<svg"), 2u) << "one for a desk, one for a phone";
    EXPECT_EQ(page.find("No readings"), std::string::npos);
}

TEST(DayChartPage, SaysSoWhenThereAreNoReadings) {
    const std::string page = renderDayChartPage(DaySeries{}, "Brevanto");
    std::string error;
    EXPECT_TRUE(wellFormed(page, error)) << error;
    EXPECT_NE(page.find("No readings for this day yet."), std::string::npos);
    EXPECT_EQ(count(page, "<polyline"), 0u);
}

}  // namespace
}  // namespace brevanto
