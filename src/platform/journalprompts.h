// The message boxes of a program without a screen: each message becomes a
// journal line and a line on standard error, and each question takes the
// answer its box would have had ready (Yes, OK), since nobody is there to
// give another.
#pragma once

#include <atomic>
#include <cstdio>

#include "platform/eventsink.h"
#include "platform/prompts.h"

namespace brevanto {

class JournalPrompts final : public Prompts {
public:
    explicit JournalPrompts(std::FILE* errors = stderr) : m_errors(errors) {}

    // The journal, once it exists; until then messages go to standard error
    // only. It must outlive these prompts, or be taken back first.
    void setJournal(EventSink* journal) { m_journal = journal; }

    void showMessage(std::string_view text) override;
    void showWarning(std::string_view text) override;
    PromptAnswer ask(std::string_view question) override;
    void showCaptionedWarning(std::string_view caption, std::string_view text) override;
    PromptAnswer confirm(std::string_view question) override;

private:
    void say(std::string_view text, std::string_view answer = {});

    std::FILE* m_errors;
    std::atomic<EventSink*> m_journal{nullptr};
};

}  // namespace brevanto
