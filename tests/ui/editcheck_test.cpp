// The number boxes' key filter and integer check, with their boxes in order.
#include "ui/editcheck.h"

#include <gtest/gtest.h>

#include "platform/testing/recordingprompts.h"

namespace brevanto {
namespace {

using testing::RecordingPrompts;

TEST(FilterIntegerKey, KeepsDigitsBackspaceEnterAndMinusOnly) {
    for (char16_t key : {u'0', u'5', u'9', u'-', char16_t{8}, char16_t{13}}) {
        EXPECT_EQ(FilterIntegerKey(key), key) << int(key);
    }
    for (char16_t key : {u'a', u'/', u':', u'+', u' ', u'.', char16_t{27}, u'\u0661'}) {
        EXPECT_EQ(FilterIntegerKey(key), u'\0') << int(key);
    }
}

struct Case {
    const char* text;
    int expected;
    std::vector<std::string> warnings;
};

TEST(ValidateInteger, ReturnsTheValueOrTheDefaultWithItsBoxes) {
    const std::string wrong = "Wrong integer";
    const std::string low = "Value out of range; minimum value allowed = 0.";
    const std::string high = "Value out of range; maximum value allowed= 65535.";
    const Case cases[] = {
        {"", 0, {}},
        {"-", 0, {}},
        {"80", 80, {}},
        {"080", 80, {}},
        {"0", 0, {}},
        {"65535", 65535, {}},
        {"65536", -1, {high}},
        {"-5", -1, {low}},
        {"8a0", -1, {wrong, low}},
        {" 80", -1, {wrong, low}},
        {"99999999999", -1, {wrong, low}},
        {"--1", -1, {wrong, low}},
    };
    for (const Case& c : cases) {
        RecordingPrompts prompts;
        EXPECT_EQ(ValidateInteger(c.text, -1, 0, 65535, true, prompts), c.expected) << c.text;
        EXPECT_EQ(prompts.warnings(), c.warnings) << c.text;
        for (const std::string& caption : prompts.warningCaptions()) {
            EXPECT_EQ(caption, "Kestrova");
        }
    }
}

TEST(ValidateInteger, StaysSilentWithoutMessages) {
    RecordingPrompts prompts;
    EXPECT_EQ(ValidateInteger("8a0", 7, 0, 10, false, prompts), 7);
    EXPECT_EQ(ValidateInteger("11", 7, 0, 10, false, prompts), 7);
    EXPECT_TRUE(prompts.warnings().empty());
}

}  // namespace
}  // namespace brevanto
