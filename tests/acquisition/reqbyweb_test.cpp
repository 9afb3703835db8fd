#include "acquisition/reqbyweb.h"

#include <gtest/gtest.h>

#include "platform/testing/recordingeventsink.h"

namespace brevanto {
namespace {

struct Settings {
    bool autoReConnect = false;
    bool remembered = false;
    bool dialogReconnect = false;
    bool reqByWeb = false;
    int resumed = 0;
};

ReqByWebHooks hooksFor(Settings& s) {
    return {[&s] { return s.autoReConnect; },   [&s](bool on) { s.autoReConnect = on; },
            [&s] { return s.remembered; },      [&s](bool on) { s.dialogReconnect = on; },
            [&s](bool on) { s.reqByWeb = on; }, [&s] { ++s.resumed; }};
}

TEST(ReqByWebClick, CheckingItTurnsTheReconnectWatchdogOff) {
    Settings s{.autoReConnect = true, .remembered = true};
    testing::RecordingEventSink events;
    ReqByWebClick(true, events, hooksFor(s));
    EXPECT_FALSE(s.autoReConnect);
    EXPECT_TRUE(s.reqByWeb);
    EXPECT_EQ(s.resumed, 0);
    EXPECT_EQ(events.messages(),
              (std::vector<std::string>{"**Warning** by selecting the option *requested by web* "
                                        "the option *AutoReconnect* has been disabled.",
                                        "Setting RequestByWeb option."}));
}

TEST(ReqByWebClick, ClearingItBringsBackWhatTheSettingsSaidAndWakesTheReader) {
    for (const bool remembered : {true, false}) {
        Settings s{.remembered = remembered, .reqByWeb = true};
        testing::RecordingEventSink events;
        ReqByWebClick(false, events, hooksFor(s));
        EXPECT_EQ(s.autoReConnect, remembered);
        EXPECT_EQ(s.dialogReconnect, remembered);
        EXPECT_FALSE(s.reqByWeb);
        EXPECT_EQ(s.resumed, 1);
        EXPECT_EQ(events.messages(), std::vector<std::string>{"Leaving RequestByWeb option."});
    }
}

}  // namespace
}  // namespace brevanto
