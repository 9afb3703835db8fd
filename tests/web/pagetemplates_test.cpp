#include "web/pagetemplates.h"

#include <algorithm>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "support/fixtures.h"
#include "support/tempdir.h"

namespace brevanto {
namespace {

class PageTemplatesTest : public ::testing::Test {
protected:
    void SetUp() override { m_pages.BuildPageTemplates(); }

    PageTemplates m_pages;
};

struct LiteralLine {
    bool timerPage;
    std::size_t index;
    const char* text;
};

// Lines where a slip is easy: tabs, trailing blanks, quotes, the split colour
// attribute, the variants among the repeated rows.
constexpr LiteralLine kLiteralLines[] = {
    {false, 0,
     R"(<!DOCTYPE html PUBLIC "-//W3C//DTD XHTML 1.0 Transitional//EN" "http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd">)"},
    {false, 1, R"(<html xmlns="http://www.w3.org/1999/xhtml">)"},
    {false, 3, R"(<meta http-equiv="Content-Type" content="text/html; charset=utf-8" />)"},
    {false, 4,
     R"(<meta http-equiv="Content-Language" content="en-gb"> <meta http-equiv="refresh" content="1">)"},
    {false, 6, "MPPsolar Inverter Page - By CorvellaSoftware"},
    {false, 9, ".style7 {\ttext-align: center;"},
    {false, 14, "\tborder: 2px solid #808080;"},
    {false, 19, ".style3 {\tborder-style: solid;"},
    {false, 20, "\tborder-width: 3px;"},
    {false, 21, "}"},
    {false, 22, "</style>"},
    {false, 24, ""},
    {false, 31, " "},
    {false, 32, "Welcome to Quennick Server"},
    {false, 35, "01/01/2010 - 23:20:25"},
    {false, 37, R"(<p align="center"><font size="4" color=")"},
    {false, 38, "#0000FF"},
    {false, 39, R"(">)"},
    {false, 40, "Energy flow"},
    {false, 44, R"(    <td width="165"><div align="center"><strong>)"},
    {false, 48, "    ModeStatus"},
    {false, 52, R"(    <td width="165" nowrap="nowrap"><div align="center"><strong>)"},
    {false, 61, "    Load"},
    {false, 71, R"(    <td width="220" align="center" nowrap="nowrap">)"},
    {false, 72, R"(    <div align="center"><strong>)"},
    {false, 78,
     R"(    <td width="220" align="center" nowrap="nowrap"><div align="center"><strong>)"},
    {false, 75, R"(    <td width="60" align="left" nowrap="nowrap">)"},
    {false, 81, R"(    <td width="60" align="left" nowrap="nowrap"> )"},
    {false, 90, "  </tr>"},
    {false, 94, "    NameVar2 "},
    {false, 116, "     </strong></div></td>"},
    {false, 142, "    NameVar9    "},
    {false, 150, R"(    <td width="60" align="left" nowrap="nowrap"> )"},
    {false, 172, "    BVar15 "},
    {false, 177, "Computed values"},
    {false, 178, "</font>&nbsp;&nbsp;</p>"},
    {false, 184, R"(    <td width="80" align="left" nowrap="nowrap">)"},
    {false, 219, "    Var6"},
    {false, 225, "<tr> "},
    {false, 226,
     R"(  <td colspan='3'><div align="center"><font color="#999999" size="1" face="Arial, Helvetica, sans-serif">&copy)"},
    {false, 227, ""},
    {false, 230, "</tr>   "},
    {false, 236, "</html>"},
    {true, 0, "<html>"},
    {true, 5,
     R"(<p><a href="Main">Return to main page</a>&nbsp;&nbsp;&nbsp;&nbsp;<a href="Timer">REFRESH</a></p>)"},
    {true, 9, "\ttext-align: left;"},
    {true, 32, "}"},
    {true, 39,
     "\t"
     R"(<p class="style7" style="width: 594px"><font color="#0000ff" size="7">&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp; Timer )"},
    {true, 46,
     "\t\t"
     R"(<!-- MSTableType="layout" -->)"},
    {true, 50,
     "\t"
     R"(<input type="checkbox" name="C1TA" value="ON" style="width:20px">TimerA&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp; </p>)"},
    {true, 57, "\t\t\tOutputX</td>"},
    {true, 61,
     "\t"
     R"(<p class="style1"><input type="checkbox" name="C2TB" value="ON">TimerB&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp; </p>)"},
    {true, 72,
     "\t"
     R"(<p class="style1"><input type="checkbox" name="C3TC" value="ON">TimerC&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp; </p>)"},
    {true, 82,
     "\t\t\t"
     R"(<td class="style5" style="width: 96px">)"},
    {true, 88,
     "\t\t\t"
     R"(<input type="text" name="TDOFF" size="9">off</td>)"},
    {true, 89,
     "\t\t\t"
     R"(<td class="style6" style="width: 20px" height="31">)"},
    {true, 91, "\t\t</tr>"},
    {true, 92, "\t</table>"},
    {true, 96,
     "\t"
     R"(<p align="center" class="style7" style="width: 694px">&nbsp;<input type="password" name="T2" size="20">&nbsp;&nbsp; <input type="submit" value="Submit" name="B1"></p>)"},
    {true, 97, "\t<p>&nbsp;</p> "},
    {true, 98,
     R"(<tr> <td colspan='3'><div align="center"><font color="#999999" size="1" face="Arial, Helvetica, sans-serif">&copy;)"},
    {true, 99, ""},
    {true, 100, "</font><br></div></td></tr>    "},
    {true, 105, "</html>"},
};

TEST(PageTemplates, PagesAreEmptyUntilBuiltAndAreBuiltOnce) {
    PageTemplates pages;
    EXPECT_EQ(RenderPage(pages.MainPage()), "");
    EXPECT_EQ(pages.MainPage().capacity(), 400u);
    EXPECT_EQ(pages.TimerPage().capacity(), 150u);
    pages.BuildPageTemplates();
    EXPECT_THROW(pages.BuildPageTemplates(), std::logic_error);
    EXPECT_EQ(pages.MainPage().lineCount(), 237u);
}

TEST_F(PageTemplatesTest, BothPagesHoldTheirLinesAsListed) {
    EXPECT_EQ(m_pages.MainPage().lineCount(), 237u);
    EXPECT_EQ(m_pages.TimerPage().lineCount(), 106u);
    for (const auto& expected : kLiteralLines) {
        const auto& page = expected.timerPage ? m_pages.TimerPage() : m_pages.MainPage();
        EXPECT_EQ(page.line(expected.index), expected.text)
            << (expected.timerPage ? "Timer" : "Main") << " page line " << expected.index;
    }
}

// Every character of both pages as built, against the pages as they have
// always been served (tests/fixtures/mainpage.txt and timerpage.txt).
TEST_F(PageTemplatesTest, BothPagesAreServedExactlyAsTheyHaveAlwaysBeen) {
    const std::pair<const PageTemplate*, const char*> kPages[] = {
        {&m_pages.MainPage(), "mainpage.txt"}, {&m_pages.TimerPage(), "timerpage.txt"}};
    for (const auto& [page, fixture] : kPages) {
        const std::string expected = testing::readFile(testing::fixturesDirectory() / fixture);
        const std::string rendered = RenderPage(*page);
        EXPECT_EQ(rendered, expected) << fixture;
        // Where they differ, line by line.
        for (std::size_t i = 0, at = 0; i < page->lineCount() && at < expected.size(); ++i) {
            const auto end = expected.find('\n', at);
            EXPECT_EQ(page->line(i), expected.substr(at, end - at)) << fixture << " line " << i;
            at = end == std::string::npos ? expected.size() : end + 1;
        }
    }
}

TEST_F(PageTemplatesTest, RenderingJoinsTheLinesWithLfOnly) {
    for (const PageTemplate* page : {&m_pages.MainPage(), &m_pages.TimerPage()}) {
        std::string joined;
        for (std::size_t i = 0; i < page->lineCount(); ++i) {
            joined += page->line(i) + '\n';
        }
        const std::string rendered = RenderPage(*page);
        EXPECT_EQ(rendered, joined);
        EXPECT_EQ(std::count(rendered.begin(), rendered.end(), '\n'),
                  static_cast<std::ptrdiff_t>(page->lineCount()));
        EXPECT_EQ(rendered.find('\r'), std::string::npos);
        EXPECT_TRUE(rendered.ends_with("</html>\n"));
    }
}

TEST_F(PageTemplatesTest, RemembersEveryValueLineWhereItWasBuilt) {
    const TemplateLines& at = m_pages.TemplateLine();
    const std::pair<std::size_t, std::size_t> kSingle[] = {
        {at.refresh, 4},          {at.title, 6},          {at.heading, 32},
        {at.timeStamp, 35},       {at.flowColour, 38},    {at.flowHeading, 40},
        {at.modeStatus, 48},      {at.batteryStatus, 56}, {at.loadStatus, 64},
        {at.computedHeader, 177}, {at.mainFooter, 227},   {at.timerFooter, 99},
    };
    for (const auto& [remembered, expected] : kSingle) {
        EXPECT_EQ(remembered, expected);
    }
    // Variable k: the line of its name, the line of its value.
    const std::size_t kBasic[15][3] = {
        {1, 73, 76},    {6, 79, 82},    {11, 85, 88},  {2, 94, 97},    {7, 100, 103},
        {12, 106, 109}, {3, 115, 118},  {8, 121, 124}, {13, 127, 130}, {4, 136, 139},
        {9, 142, 145},  {14, 148, 151}, {5, 157, 160}, {10, 163, 166}, {15, 169, 172},
    };
    for (const auto& [k, name, value] : kBasic) {
        EXPECT_EQ(at.nameVar[k - 1], name) << "NameVar" << k;
        EXPECT_EQ(at.bVar[k - 1], value) << "BVar" << k;
    }
    const std::size_t kComputed[6][3] = {
        {1, 182, 185}, {4, 188, 191}, {2, 196, 199}, {5, 202, 205}, {3, 210, 213}, {6, 216, 219},
    };
    for (const auto& [k, name, value] : kComputed) {
        EXPECT_EQ(at.name[k - 1], name) << "Name" << k;
        EXPECT_EQ(at.var[k - 1], value) << "Var" << k;
    }
}

TEST_F(PageTemplatesTest, AWrittenValueReplacesItsPlaceholderAndNothingElse) {
    PageTemplate& page = m_pages.MainPage();
    const std::size_t line = m_pages.TemplateLine().bVar[0];
    ASSERT_EQ(page.line(line), "    BVar1");
    const std::string before = RenderPage(page);
    page.setLine(line, "230.5");
    EXPECT_EQ(page.line(line), "230.5");
    page.setLine(line, "231.0");
    const std::string after = RenderPage(page);
    EXPECT_NE(after.find("\n231.0\n"), std::string::npos);
    EXPECT_EQ(after.find("230.5"), std::string::npos);
    std::string expected = before;
    expected.replace(before.find("    BVar1\n"), 9, "231.0");
    EXPECT_EQ(after, expected);
    EXPECT_EQ(page.lineCount(), 237u);
}

}  // namespace
}  // namespace brevanto
