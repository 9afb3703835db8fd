#include "platform/testing/recordingprompts.h"

namespace brevanto::testing {

void RecordingPrompts::showMessage(std::string_view text) {
    std::lock_guard lock(m_mutex);
    m_messages.emplace_back(text);
}

void RecordingPrompts::showWarning(std::string_view text) {
    warn("Brevanto", text);
}

void RecordingPrompts::showCaptionedWarning(std::string_view caption, std::string_view text) {
    warn(caption, text);
}

void RecordingPrompts::warn(std::string_view caption, std::string_view text) {
    std::function<void()> whileShown;
    {
        std::lock_guard lock(m_mutex);
        m_warnings.emplace_back(text);
        m_warningCaptions.emplace_back(caption);
        whileShown = m_whileWarningShown;
    }
    if (whileShown) {
        whileShown();
    }
}

void RecordingPrompts::setWhileWarningShown(std::function<void()> whileShown) {
    std::lock_guard lock(m_mutex);
    m_whileWarningShown = std::move(whileShown);
}

PromptAnswer RecordingPrompts::ask(std::string_view question) {
    return answer(question);
}

PromptAnswer RecordingPrompts::confirm(std::string_view question) {
    return answer(question);
}

PromptAnswer RecordingPrompts::answer(std::string_view question) {
    std::lock_guard lock(m_mutex);
    m_questions.emplace_back(question);
    if (m_answers.empty()) {
        return PromptAnswer::Yes;
    }
    const PromptAnswer answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

void RecordingPrompts::queueAnswer(PromptAnswer answer) {
    std::lock_guard lock(m_mutex);
    m_answers.push_back(answer);
}

std::vector<std::string> RecordingPrompts::messages() const {
    std::lock_guard lock(m_mutex);
    return m_messages;
}

std::vector<std::string> RecordingPrompts::warnings() const {
    std::lock_guard lock(m_mutex);
    return m_warnings;
}

std::vector<std::string> RecordingPrompts::warningCaptions() const {
    std::lock_guard lock(m_mutex);
    return m_warningCaptions;
}

std::vector<std::string> RecordingPrompts::questions() const {
    std::lock_guard lock(m_mutex);
    return m_questions;
}

}  // namespace brevanto::testing
