// A person's browser: headless Chromium loads the main page, then fills in
// the Timer page's form and submits it, and the times end up in the INI file.
#include <algorithm>

#include <gtest/gtest.h>

#include "cdpbrowser.h"
#include "support/waituntil.h"
#include "webserverfixture.h"

namespace brevanto {
namespace {

using testing::CdpBrowser;
using testing::WebServerFixture;

TEST(WebBrowser, LoadsTheMainPageAndSubmitsTheTimerForm) {
    if (!CdpBrowser::available()) {
        GTEST_SKIP() << CdpBrowser::kChromium << " is not installed";
    }
    WebServerFixture web;
    web.setPassword("sun");
    web.start();
    web.pages.MainPage().setLine(web.pages.TemplateLine().heading, "Brevanto on the roof");
    testing::TempDir profile;
    CdpBrowser browser(profile.path());

    browser.open(web.url("/"));
    EXPECT_EQ(browser.evaluate("document.title"), "MPPsolar Inverter Page - By CorvellaSoftware");
    const std::string mainText = browser.evaluate("document.body.innerText");
    EXPECT_NE(mainText.find("Brevanto on the roof"), std::string::npos) << mainText;
    EXPECT_NE(mainText.find("Basic information"), std::string::npos);
    ASSERT_FALSE(web.events().empty());
    EXPECT_NE(web.events()[0].find("[ipstart]127.0.0.1[ipend] requested webpage [CS]"),
              std::string::npos);

    browser.navigate(web.url("/Timer"));
    EXPECT_EQ(browser.evaluate("document.forms.length"), "1");
    browser.evaluate("document.querySelector('input[name=C1TA]').click()");
    browser.typeInto("input[name=TAON]", "07.00.00");
    browser.typeInto("input[name=TAOFF]", "08.30.00");
    browser.typeInto("input[name=T2]", "sun");
    browser.evaluateAndWaitForLoad("document.querySelector('input[name=B1]').click()");
    // The other timers' times were left empty.
    const std::string answer = browser.evaluate("document.body.innerText");
    EXPECT_NE(answer.find(R"(Time format error, or error in value. Use "hh.mm.ss".)"),
              std::string::npos)
        << answer;

    ASSERT_TRUE(testing::waitUntil([&] { return web.saves.load() == 1; }, web.mainThread));
    const auto ini = EventLog::splitLines(web.iniText());
    for (const char* line : {"A=1", "B=0", "Time A ON=07:00:00", "Time A OFF=08:30:00"}) {
        EXPECT_NE(std::find(ini.begin(), ini.end(), line), ini.end()) << line;
    }
}

}  // namespace
}  // namespace brevanto
