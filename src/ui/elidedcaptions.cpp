#include "ui/elidedcaptions.h"

#include <QEvent>
#include <QLabel>

namespace brevanto {
namespace {

constexpr const char* kWholeText = "wholeText";

}  // namespace

void ElidedCaptions::add(QLabel* label) {
    QSizePolicy policy = label->sizePolicy();
    policy.setHorizontalPolicy(QSizePolicy::Ignored);
    label->setSizePolicy(policy);
    label->setProperty(kWholeText, label->text());
    label->installEventFilter(this);
}

void ElidedCaptions::setText(QLabel* label, const QString& text) {
    label->setProperty(kWholeText, text);
    fit(label);
}

bool ElidedCaptions::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize || event->type() == QEvent::FontChange) {
        fit(static_cast<QLabel*>(watched));
    }
    return QObject::eventFilter(watched, event);
}

void ElidedCaptions::fit(QLabel* label) {
    const QString whole = label->property(kWholeText).toString();
    const QString shown = label->fontMetrics().elidedText(whole, Qt::ElideRight, label->width());
    label->setText(shown);
    label->setToolTip(shown == whole ? QString() : whole);
}

}  // namespace brevanto
