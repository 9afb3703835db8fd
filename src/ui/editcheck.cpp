#include "ui/editcheck.h"

#include <charconv>
#include <string>

namespace brevanto {

namespace {

constexpr std::string_view kCaption = "Kestrova";
constexpr char16_t kBackspace = 8;
constexpr char16_t kEnter = 13;

bool readInteger(std::string_view text, int& value) {
    // A leading "+" is a sign the conversion has always taken.
    if (text.size() > 1 && text.front() == '+' && text[1] != '-') {
        text.remove_prefix(1);
    }
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return error == std::errc{} && stop == end;
}

}  // namespace

char16_t FilterIntegerKey(char16_t key) {
    const bool digit = key >= u'0' && key <= u'9';
    return digit || key == kBackspace || key == kEnter || key == u'-' ? key : u'\0';
}

int ValidateInteger(std::string_view text, int defaultValue, int minimum, int maximum,
                    bool showMessages, Prompts& prompts) {
    if (text.empty() || text == "-") {
        return minimum;
    }
    int value = 0;
    if (!readInteger(text, value)) {
        value = defaultValue;
        if (showMessages) {
            prompts.showCaptionedWarning(kCaption, "Wrong integer");
        }
    }
    if (value < minimum) {
        value = defaultValue;
        if (showMessages) {
            prompts.showCaptionedWarning(kCaption, "Value out of range; minimum value allowed = " +
                                                       std::to_string(minimum) + ".");
        }
    } else if (value > maximum) {
        value = defaultValue;
        if (showMessages) {
            prompts.showCaptionedWarning(kCaption, "Value out of range; maximum value allowed= " +
                                                       std::to_string(maximum) + ".");
        }
    }
    return value;
}

}  // namespace brevanto
