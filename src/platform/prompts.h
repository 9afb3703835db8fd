// The message boxes and questions the program puts to the user. The window
// layer shows them as modal boxes captioned "Brevanto"; tests record them.
#pragma once

#include <string_view>

namespace brevanto {

enum class PromptAnswer { Yes, No };

class Prompts {
public:
    virtual ~Prompts() = default;
    // An information box with one OK button.
    virtual void showMessage(std::string_view text) = 0;
    // The same with a warning icon.
    virtual void showWarning(std::string_view text) = 0;
    // A Yes/No question.
    virtual PromptAnswer ask(std::string_view question) = 0;
    // A warning under a caption of its own: the number checks of the
    // settings dialog have always carried theirs.
    virtual void showCaptionedWarning(std::string_view caption, std::string_view text) = 0;
    // A warning with OK and Cancel; Yes stands for OK.
    virtual PromptAnswer confirm(std::string_view question) = 0;
};

}  // namespace brevanto
