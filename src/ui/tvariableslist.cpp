#include "ui/tvariableslist.h"

#include "ui_tvariableslist.h"

namespace brevanto {
namespace {

constexpr int kColumnWidth = 55;

}  // namespace

TVariablesList::TVariablesList(LogTable& table, QWidget* parent)
    : LogViewerWindow(table, parent), m_ui(std::make_unique<Ui::TVariablesList>()) {
    m_ui->setupUi(this);
    showTable({m_ui->NameGrid, m_ui->NameRow, m_ui->Grid, m_ui->Label1}, kColumnWidth);
}

TVariablesList::~TVariablesList() = default;

}  // namespace brevanto
