#include "ui/tcomputedlist.h"

#include "ui_tcomputedlist.h"

namespace brevanto {
namespace {

constexpr int kColumnWidth = 80;

}  // namespace

TComputedList::TComputedList(LogTable& table, QWidget* parent)
    : LogViewerWindow(table, parent), m_ui(std::make_unique<Ui::TComputedList>()) {
    m_ui->setupUi(this);
    showTable({m_ui->NameGrid, m_ui->NameRow, m_ui->Grid, m_ui->Label1}, kColumnWidth);
}

TComputedList::~TComputedList() = default;

}  // namespace brevanto
