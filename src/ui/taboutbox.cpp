#include "ui/taboutbox.h"

#include <QGuiApplication>
#include <QScreen>

#include "hub/programidentity.h"
#include "ui/programicon.h"
#include "ui_taboutbox.h"

namespace brevanto {

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_ui(std::make_unique<Ui::TAboutBox>()) {
    m_ui->setupUi(this);
    setFixedSize(298, 213);
    m_ui->ProgramIcon->setPixmap(programPixmap());
    m_ui->ProductName->setText(QStringLiteral("Brevanto "));
    m_ui->Vers->setText(QStringLiteral("Vers. ") + QString::fromLatin1(kProgramVersion));
    m_ui->Copyright->setText(QStringLiteral("Corvella Software"));
    m_ui->Comments->setText(QStringLiteral("Live readings, daily logs and energy totals"));
    // "OK" and the title bar's close both only hide the box.
    connect(m_ui->OKButton, &QPushButton::clicked, this, &QDialog::hide);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

TAboutBox::~TAboutBox() = default;

}  // namespace brevanto
