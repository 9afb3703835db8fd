// Prompts for tests: remembers every box and question and answers as told
// (Yes unless a test queues other answers).
#pragma once

#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "platform/prompts.h"

namespace brevanto::testing {

class RecordingPrompts final : public Prompts {
public:
    void showMessage(std::string_view text) override;
    void showWarning(std::string_view text) override;
    PromptAnswer ask(std::string_view question) override;
    // Kept with the other warnings; its caption goes to warningCaptions().
    void showCaptionedWarning(std::string_view caption, std::string_view text) override;
    // Kept with the questions, and answered from the same queue.
    PromptAnswer confirm(std::string_view question) override;

    void queueAnswer(PromptAnswer answer);
    // Runs while a warning is up, as the events a real box's loop serves
    // (a timer firing) would.
    void setWhileWarningShown(std::function<void()> whileShown);
    std::vector<std::string> messages() const;
    std::vector<std::string> warnings() const;
    // One per warning: "Brevanto" unless it came with a caption of its own.
    std::vector<std::string> warningCaptions() const;
    std::vector<std::string> questions() const;

private:
    void warn(std::string_view caption, std::string_view text);
    PromptAnswer answer(std::string_view question);

    mutable std::mutex m_mutex;
    std::vector<std::string> m_messages;
    std::vector<std::string> m_warnings;
    std::vector<std::string> m_warningCaptions;
    std::vector<std::string> m_questions;
    std::deque<PromptAnswer> m_answers;
    std::function<void()> m_whileWarningShown;
};

}  // namespace brevanto::testing
