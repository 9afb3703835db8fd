// The day chart on the built program: a browser finds it linked from the
// main page and draws the curves of the rows taken so far.
#include <csignal>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "support/freeport.h"
#include "support/programprocess.h"
#include "support/simprocess.h"
#include "support/simsettings.h"
#include "support/tempdir.h"
#include "support/waituntil.h"
#include "todaysfiles.h"
#include "web/cdpbrowser.h"

namespace brevanto {
namespace {

using testing::CdpBrowser;

TEST(ChartPageProgramTest, TheMainPageLinksTheDayChartAndABrowserDrawsIt) {
    if (!CdpBrowser::available()) {
        GTEST_SKIP() << CdpBrowser::kChromium << " is not installed";
    }
    testing::TempDir folder;
    testing::SimProcess sim;
    const int port = testing::unusedPort();
    testing::writeFile(folder / "brevanto.INI", std::string(testing::kAutoConnectToCom1) +
                                                    "[Http]\nPort=" + std::to_string(port) +
                                                    "\n[Ports]\nCOM1=" + sim.linkPath().string() +
                                                    "\n");
    const auto rows = folder.path() / testing::todaysLogFile("LogVariables", "BasicLog_", ".csv");
    testing::ProgramProcess program(BREVANTO_PROGRAM_PATH, folder.path());
    ASSERT_TRUE(program.waitUntilHandling(SIGTERM));
    ASSERT_TRUE(testing::waitUntil(
        [&] { return std::filesystem::exists(rows) && !testing::readFile(rows).empty(); },
        testing::pauseBriefly));

    testing::TempDir profile;
    CdpBrowser browser(profile.path());
    browser.open("http://127.0.0.1:" + std::to_string(port) + "/");
    browser.evaluateAndWaitForLoad("document.querySelector('a[href=\"/Chart\"]').click()");
    EXPECT_EQ(browser.evaluate("location.pathname"), "/Chart");
    EXPECT_EQ(browser.evaluate("document.querySelectorAll('svg.desk polyline').length"), "4");
    EXPECT_EQ(
        browser.evaluate("document.querySelector('svg.desk').getBoundingClientRect().width > 0"),
        "true");
    program.sendSignal(SIGTERM);
    EXPECT_EQ(program.waitForExit(), 0);
}

}  // namespace
}  // namespace brevanto
