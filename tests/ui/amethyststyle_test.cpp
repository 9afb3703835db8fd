// The style sheet as the boxes wear it: a box that is ticked must look
// ticked, also while it cannot be changed.
#include <QCheckBox>
#include <QColor>
#include <QStyle>
#include <QStyleOptionButton>
#include <gtest/gtest.h>

#include "formfixture.h"

namespace brevanto {
namespace {

using testing::amethystSheet;

QColor indicatorColour(bool checked, bool enabled) {
    QCheckBox box(QStringLiteral("Test mode"));
    box.setStyleSheet(amethystSheet());
    box.setChecked(checked);
    box.setEnabled(enabled);
    box.resize(box.sizeHint());
    const QImage image = box.grab().toImage();
    QStyleOptionButton option;
    option.initFrom(&box);
    const QRect indicator =
        box.style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, &box);
    return image.pixelColor(indicator.center());
}

TEST(AmethystStyle, ATickedBoxLooksTickedAlsoWhileDisabled) {
    EXPECT_NE(indicatorColour(true, true), indicatorColour(false, true));
    EXPECT_NE(indicatorColour(true, false), indicatorColour(false, false));
}

}  // namespace
}  // namespace brevanto
