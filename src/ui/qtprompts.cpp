#include "ui/qtprompts.h"

#include <QMessageBox>
#include <QString>

namespace brevanto {

namespace {

QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

int showBox(QWidget* parent, QMessageBox::Icon icon, std::string_view text,
            QMessageBox::StandardButtons buttons, std::string_view caption = "Brevanto") {
    QMessageBox box(icon, toQString(caption), toQString(text), buttons, parent);
    return box.exec();
}

}  // namespace

void QtPrompts::showMessage(std::string_view text) {
    m_mainThread.invokeAndWait(
        [&] { showBox(m_parent, QMessageBox::Information, text, QMessageBox::Ok); });
}

void QtPrompts::showWarning(std::string_view text) {
    m_mainThread.invokeAndWait(
        [&] { showBox(m_parent, QMessageBox::Warning, text, QMessageBox::Ok); });
}

PromptAnswer QtPrompts::ask(std::string_view question) {
    int answer = QMessageBox::No;
    m_mainThread.invokeAndWait([&] {
        answer =
            showBox(m_parent, QMessageBox::Question, question, QMessageBox::Yes | QMessageBox::No);
    });
    return answer == QMessageBox::No ? PromptAnswer::No : PromptAnswer::Yes;
}

void QtPrompts::showCaptionedWarning(std::string_view caption, std::string_view text) {
    m_mainThread.invokeAndWait(
        [&] { showBox(m_parent, QMessageBox::Warning, text, QMessageBox::Ok, caption); });
}

PromptAnswer QtPrompts::confirm(std::string_view question) {
    int answer = QMessageBox::Cancel;
    m_mainThread.invokeAndWait([&] {
        answer = showBox(m_parent, QMessageBox::Warning, question,
                         QMessageBox::Ok | QMessageBox::Cancel);
    });
    return answer == QMessageBox::Ok ? PromptAnswer::Yes : PromptAnswer::No;
}

}  // namespace brevanto
