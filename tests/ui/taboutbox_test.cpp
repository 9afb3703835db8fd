// The About box: toggled by the main window's command, hidden by "OK".
#include "ui/taboutbox.h"

#include <QAction>
#include <QPushButton>

#include "formfixture.h"

namespace brevanto {
namespace {

using testing::FormFixture;

TEST_F(FormFixture, AboutShowsAndHidesTheBoxAndOkHidesIt) {
    create();
    TAboutBox about;
    form->setAboutBox(&about);
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About"));
    EXPECT_EQ(about.findChild<QLabel*>(QStringLiteral("Vers"))->text(),
              QStringLiteral("Vers. 1.1.7.1"));
    EXPECT_EQ(about.findChild<QLabel*>(QStringLiteral("ProductName"))->text(),
              QStringLiteral("Brevanto "));
    EXPECT_EQ(about.findChild<QLabel*>(QStringLiteral("Label1"))->text(),
              QStringLiteral("For MPPsolar Inverter PIP 4048MS"));
    EXPECT_EQ(about.size(), QSize(298, 213));

    QAction* command = control<QAction>("About");
    command->trigger();
    EXPECT_TRUE(about.isVisible());
    command->trigger();
    EXPECT_FALSE(about.isVisible());
    command->trigger();
    about.findChild<QPushButton*>(QStringLiteral("OKButton"))->click();
    EXPECT_FALSE(about.isVisible());
}

}  // namespace
}  // namespace brevanto
