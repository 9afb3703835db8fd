// The program's message boxes and questions as modal Qt boxes captioned
// "Brevanto" unless they bring a caption of their own. A box asked for on another thread (a port
// search that meets a misconfigured port) is shown by the main thread, which owns every window.
#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/prompts.h"
#include "platform/queuedinvoker.h"

namespace brevanto {

class QtPrompts final : public Prompts {
public:
    explicit QtPrompts(QueuedInvoker& mainThread) : m_mainThread(mainThread) {}

    // The window the boxes stand over; none centres them on the screen.
    void setParentWindow(QWidget* parent) { m_parent = parent; }

    void showMessage(std::string_view text) override;
    void showWarning(std::string_view text) override;
    PromptAnswer ask(std::string_view question) override;
    void showCaptionedWarning(std::string_view caption, std::string_view text) override;
    PromptAnswer confirm(std::string_view question) override;

private:
    QueuedInvoker& m_mainThread;
    QPointer<QWidget> m_parent;
};

}  // namespace brevanto
