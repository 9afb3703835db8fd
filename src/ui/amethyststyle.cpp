#include "ui/amethyststyle.h"

#include <QApplication>
#include <QFile>
#include <QStyle>
#include <QStyleFactory>
#include <QWidget>

namespace brevanto {

bool applyAmethystStyle(QApplication& application) {
    // Fusion draws the same on every desktop, so the sheet looks as designed.
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) {
        QApplication::setStyle(fusion);
    }
    QFile sheet(QStringLiteral(":/brevanto/amethyst.qss"));
    if (!sheet.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return false;
    }
    application.setStyleSheet(QString::fromUtf8(sheet.readAll()));
    return true;
}

void repolishRoles(QWidget& window) {
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        if (widget->property("role").isValid()) {
            widget->style()->unpolish(widget);
            widget->style()->polish(widget);
        }
    }
}

}  // namespace brevanto
