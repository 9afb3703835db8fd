#include "platform/journalprompts.h"

#include <string>

namespace brevanto {

void JournalPrompts::say(std::string_view text, std::string_view answer) {
    std::string line(text);
    if (!answer.empty()) {
        line += " [";
        line += answer;
        line += "]";
    }
    if (EventSink* journal = m_journal.load()) {
        journal->WriteEvent(line);
    }
    std::fprintf(m_errors, "brevanto: %s\n", line.c_str());
    std::fflush(m_errors);
}

void JournalPrompts::showMessage(std::string_view text) {
    say(text);
}

void JournalPrompts::showWarning(std::string_view text) {
    say(text);
}

PromptAnswer JournalPrompts::ask(std::string_view question) {
    say(question, "Yes");
    return PromptAnswer::Yes;
}

void JournalPrompts::showCaptionedWarning(std::string_view caption, std::string_view text) {
    say(std::string(caption) + ": " + std::string(text));
}

PromptAnswer JournalPrompts::confirm(std::string_view question) {
    say(question, "OK");
    return PromptAnswer::Yes;
}

}  // namespace brevanto
