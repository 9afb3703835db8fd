// The Timer page's form as a browser sends it, posted with curl: what reaches
// the settings, the dialog and the INI file, and what the answer says.
#include <array>
#include <optional>

#include <gtest/gtest.h>

#include "curlclient.h"
#include "webserverfixture.h"

namespace brevanto {
namespace {

using testing::curl;
using testing::HttpReply;
using testing::WebServerFixture;

constexpr const char* kErrorParagraph =
    R"(<p align="left"> Time format error, or error in value. Use "hh.mm.ss". </p>)";

// The fields in the order a browser submits them; a box is sent only when
// ticked, every text field always.
std::string timerForm(const std::array<bool, 4>& ticked, const std::array<const char*, 8>& times,
                      const std::string& password) {
    static constexpr std::array<const char*, 4> kBoxes = {"C1TA", "C2TB", "C3TC", "C4TD"};
    static constexpr std::array<const char*, 8> kFields = {"TAON", "TAOFF", "TBON", "TBOFF",
                                                           "TCON", "TCOFF", "TDON", "TDOFF"};
    std::string body;
    for (std::size_t timer = 0; timer < 4; ++timer) {
        if (ticked[timer]) {
            body += std::string(kBoxes[timer]) + "=ON&";
        }
        body += std::string(kFields[2 * timer]) + "=" + times[2 * timer] + "&";
        body += std::string(kFields[2 * timer + 1]) + "=" + times[2 * timer + 1] + "&";
    }
    return body + "T2=" + password + "&B1=Submit";
}

HttpReply post(WebServerFixture& web, const std::string& body) {
    return curl({"--data-binary", body, web.url("/--WEBBOT-SELF--")});
}

struct TimerCase {
    const char* name;
    std::string storedPassword;
    std::string body;
    bool applied;  // the form got through and changed the settings
    bool errorParagraph;
    int saves;
    // Timer A's times afterwards, as the INI file keeps them.
    const char* timeAOn;
    const char* timeAOff;
};

const std::array<bool, 4> kOnlyA = {true, false, false, false};
const std::array<const char*, 8> kOnlyATimes = {"07.00.00", "08.30.00", "", "", "", "", "", ""};

TEST(WebTimerForm, SetsTheTimersItCanReadAndSaysWhenATimeDidNotRead) {
    const TimerCase cases[] = {
        {"hh.mm.ss with the others empty", "secret", timerForm(kOnlyA, kOnlyATimes, "secret"), true,
         true, 1, "07:00:00", "08:30:00"},
        {"one-digit hour: the eighth character is the next field's &", "secret",
         timerForm(kOnlyA, {"7.00.00", "8.30.00", "", "", "", "", "", ""}, "secret"), true, true, 1,
         "07:00:00", "08:30:00"},
        {"the locale's own separator, sent unencoded", "secret",
         timerForm(kOnlyA, {"07:00:00", "08:30:00", "", "", "", "", "", ""}, "secret"), true, true,
         1, "07:00:00", "08:30:00"},
        {"a percent-encoded colon is not decoded", "secret",
         timerForm(kOnlyA, {"07%3A00%3A00", "08.30.00", "", "", "", "", "", ""}, "secret"), true,
         true, 0, "00:00:00", "00:00:00"},
        {"all four pairs: one save for them all, no paragraph", "secret",
         timerForm({true, true, false, true},
                   {"06.00.00", "07.00.00", "12.00.00", "13.00.00", "23.59.59", "00.00.01",
                    "1.02.03", "4.05.06"},
                   "secret"),
         true, false, 1, "06:00:00", "07:00:00"},
        {"a wrong password changes nothing and says nothing", "secret",
         timerForm(kOnlyA, kOnlyATimes, "guess"), false, false, 0, "00:00:00", "00:00:00"},
        {"the default empty password lets every form through", "",
         timerForm(kOnlyA, kOnlyATimes, ""), true, true, 1, "07:00:00", "08:30:00"},
        {"TAON only inside a value is still the timer form", "secret", "T1=xTAONx", false, false, 0,
         "00:00:00", "00:00:00"},
        {"a time out of range", "secret",
         timerForm(kOnlyA, {"25.00.00", "08.30.00", "", "", "", "", "", ""}, "secret"), true, true,
         0, "00:00:00", "00:00:00"},
    };
    for (const TimerCase& form : cases) {
        SCOPED_TRACE(form.name);
        WebServerFixture web;
        web.setPassword(form.storedPassword);
        web.start();
        const HttpReply reply = post(web, form.body);
        ASSERT_EQ(reply.status, 200) << reply.error;
        std::string expected = RenderPage(web.pages.TimerPage());
        if (form.errorParagraph) {
            expected += kErrorParagraph;
        }
        EXPECT_EQ(reply.body, expected);
        EXPECT_EQ(web.displayRefreshes.load(), 1);

        // The answer went out before the main thread did anything.
        EXPECT_EQ(web.saves.load(), 0);
        EXPECT_EQ(web.mainThread.runPending(), form.applied ? 1 : 0);
        EXPECT_EQ(web.saves.load(), form.saves);
        const TDati& settings = web.store.AppSettings();
        if (form.applied) {
            EXPECT_EQ(settings.timerEnabled[0], form.body.find("C1TA=ON") != std::string::npos);
            EXPECT_FALSE(settings.timerEnabled[2]);
            EXPECT_EQ(web.dialogCalls.at(0),
                      std::string("box A ") + (settings.timerEnabled[0] ? "1" : "0"));
        } else {
            TDati untouched;
            untouched.webPassword = form.storedPassword;
            EXPECT_EQ(settings, untouched);
            EXPECT_TRUE(web.dialogCalls.empty());
        }
        EXPECT_EQ(web.format.formatTime(settings.timeOn[0].time), form.timeAOn);
        EXPECT_EQ(web.format.formatTime(settings.timeOff[0].time), form.timeAOff);
        if (form.saves > 0) {
            EXPECT_EQ(settings.timeOn[0].date, web.clock.now().date) << "stored on today's date";
            const std::string ini = web.iniText();
            EXPECT_NE(ini.find(std::string("Time A ON=") + form.timeAOn), std::string::npos);
            EXPECT_NE(ini.find(std::string("Time A OFF=") + form.timeAOff), std::string::npos);
        } else {
            EXPECT_FALSE(std::filesystem::exists(web.iniPath()));
        }
    }
}

TEST(WebTimerForm, TellsTheDialogEachBoxThenThePickersOfEachStoredTimer) {
    WebServerFixture web;
    web.start();
    const auto form =
        timerForm({false, true, false, false},
                  {"01.00.00", "02.00.00", "x", "", "03.00.00", "04.00.00", "", ""}, "");
    ASSERT_EQ(post(web, form).status, 200);
    web.mainThread.runPending();
    EXPECT_EQ(web.dialogCalls, (std::vector<std::string>{"box A 0", "box B 1", "box C 0", "box D 0",
                                                         "pickers A", "pickers C"}));
    EXPECT_EQ(web.saves.load(), 1);
    EXPECT_EQ(web.store.AppSettings().timerEnabled,
              (std::array<bool, 4>{false, true, false, false}));
}

TEST(WebTimerForm, AFloodOfFormsIsOneMainThreadJobInOrderWithOneSave) {
    WebServerFixture web;
    web.start();
    constexpr int kForms = 30;
    for (int form = 0; form < kForms; ++form) {
        // Timer A ends at minute `form`; timer C is ticked by every other form.
        const std::string off =
            "08." + std::string(form < 10 ? "0" : "") + std::to_string(form) + ".00";
        const std::array<bool, 4> ticked = {true, false, form % 2 == 1, false};
        ASSERT_EQ(
            post(web, timerForm(ticked, {"07.00.00", off.c_str(), "", "", "", "", "", ""}, ""))
                .status,
            200);
    }
    EXPECT_EQ(web.saves.load(), 0);
    EXPECT_EQ(web.mainThread.runPending(), 1);
    EXPECT_EQ(web.saves.load(), 1);
    const TDati& settings = web.store.AppSettings();
    EXPECT_EQ(settings.timeOff[0].time, (TimeOfDay{8, kForms - 1, 0, 0})) << "the last form last";
    EXPECT_EQ(settings.timerEnabled, (std::array<bool, 4>{true, false, true, false}));
    ASSERT_EQ(web.dialogCalls.size(), std::size_t{kForms * 5});
    for (int form = 0; form < kForms; ++form) {
        EXPECT_EQ(web.dialogCalls[form * 5 + 2], "box C " + std::to_string(form % 2)) << form;
    }
    EXPECT_NE(web.iniText().find("Time A OFF=08:29:00"), std::string::npos);

    // A form after the run is the next job.
    ASSERT_EQ(post(web, timerForm(kOnlyA, kOnlyATimes, "")).status, 200);
    EXPECT_EQ(web.mainThread.runPending(), 1);
    EXPECT_EQ(web.saves.load(), 2);
}

TEST(WebTimerForm, ReadsTheLocalesSeparatorAndThePointWhereTheLocaleUsesThePoint) {
    WebServerFixture web(DateTimeFormat("%d.%m.%Y", "%H.%M.%S"));
    web.start();
    const auto form = timerForm(kOnlyA, {"07:00:00", "8.30.00", "", "", "", "", "", ""}, "");
    ASSERT_EQ(post(web, form).status, 200);
    web.mainThread.runPending();
    EXPECT_EQ(web.store.AppSettings().timeOn[0].time, (TimeOfDay{7, 0, 0, 0}));
    EXPECT_EQ(web.store.AppSettings().timeOff[0].time, (TimeOfDay{8, 30, 0, 0}));
}

TEST(WebTimerForm, WithoutAPasswordHookNoFormGetsThrough) {
    WebServerFixture web;
    WebRequestHandler unwired(WebHooks{.pages = web.pages,
                                       .eventList = web.eventList,
                                       .events = web.eventLog,
                                       .clock = web.clock,
                                       .format = web.format,
                                       .mainThread = web.mainThread});
    const auto reply =
        unwired.IdHTTPServer1CommandGet({"POST", "/", timerForm(kOnlyA, kOnlyATimes, ""), ""});
    EXPECT_EQ(reply.body, RenderPage(web.pages.TimerPage()));
    EXPECT_EQ(web.mainThread.runPending(), 0);
}

}  // namespace
}  // namespace brevanto
