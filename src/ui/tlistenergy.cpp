#include "ui/tlistenergy.h"

#include "ui_tlistenergy.h"

namespace brevanto {
namespace {

constexpr int kColumnWidth = 80;

}  // namespace

TListEnergy::TListEnergy(LogTable& table, QWidget* parent)
    : LogViewerWindow(table, parent), m_ui(std::make_unique<Ui::TListEnergy>()) {
    m_ui->setupUi(this);
    showTable({m_ui->NameGrid, m_ui->NameRow, m_ui->Grid, m_ui->Label1}, kColumnWidth);
}

TListEnergy::~TListEnergy() = default;

}  // namespace brevanto
