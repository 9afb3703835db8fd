// Prompts for tests: remembers every box and question and answers as told
// (Yes unless a test queues other answers).
#pragma once

#include <deque>
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
    std::vector<std::string> messages() const;
    std::vector<std::string> warnings() const;
    std::vector<std::string> questions() const;

private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_messages;
    std::vector<std::string> m_warnings;
    std::vector<std::string> m_questions;
    std::deque<PromptAnswer> m_answers;
};

}  // namespace brevanto::testing
