// Without a screen every box is a journal line and a line on standard
// error, and every question is answered as its box would have been by
// Enter: Yes, OK.
#include "platform/journalprompts.h"

#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace brevanto {
namespace {

struct Journal : EventSink {
    void WriteEvent(std::string_view message) override { lines.emplace_back(message); }
    std::vector<std::string> lines;
};

std::string readAll(std::FILE* file) {
    std::rewind(file);
    std::string text;
    for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) {
        text += static_cast<char>(c);
    }
    return text;
}

TEST(JournalPrompts, EveryBoxIsAJournalLineAndAnErrorLineAndQuestionsTakeTheirDefault) {
    std::FILE* errors = std::tmpfile();
    ASSERT_NE(errors, nullptr);
    JournalPrompts prompts(errors);
    prompts.showWarning("Cannot create Directory for log file.");
    Journal journal;
    prompts.setJournal(&journal);
    prompts.showMessage("Mail sent.");
    EXPECT_EQ(prompts.ask("Close Brevanto?"), PromptAnswer::Yes);
    EXPECT_EQ(prompts.confirm("Apply data before?"), PromptAnswer::Yes);
    prompts.showCaptionedWarning("Kestrova", "Port must be a number.");

    // The journal did not exist yet for the first.
    EXPECT_EQ(journal.lines, (std::vector<std::string>{"Mail sent.", "Close Brevanto? [Yes]",
                                                       "Apply data before? [OK]",
                                                       "Kestrova: Port must be a number."}));
    EXPECT_EQ(readAll(errors),
              "brevanto: Cannot create Directory for log file.\n"
              "brevanto: Mail sent.\n"
              "brevanto: Close Brevanto? [Yes]\n"
              "brevanto: Apply data before? [OK]\n"
              "brevanto: Kestrova: Port must be a number.\n");
    std::fclose(errors);
}

}  // namespace
}  // namespace brevanto
