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

    void queueAnswer(PromptAnswer answer);
    // Runs while a warning is up, as the events a real box's loop serves
    // (a timer firing) would.
    void setWhileWarningShown(std::function<void()> whileShown);
    std::vector<std::string> messages() const;
    std::vector<std::string> warnings() const;
    std::vector<std::string> questions() const;

private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_messages;
    std::vector<std::string> m_warnings;
    std::vector<std::string> m_questions;
    std::deque<PromptAnswer> m_answers;
    std::function<void()> m_whileWarningShown;
};

}  // namespace brevanto::testing
