#include "ui/logviewerwindow.h"

#include <QBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QTableView>

#include "ui/columnresizegrip.h"
#include "ui/logtablemodel.h"
#include "ui/logtext.h"
#include "ui/logtitlesmodel.h"
#include "ui/titlerowmirror.h"

namespace brevanto {

LogViewerWindow::LogViewerWindow(LogTable& table, QWidget* parent)
    : QWidget(parent, Qt::Tool), m_table(table) {}

void LogViewerWindow::showTable(const Controls& controls, int columnWidth) {
    m_controls = controls;
    setUpGrids(columnWidth);
    // The row height comes from the style's font, so it is set before the
    // rows are there: resizing every row of a long day would cost a moment.
    controls.grid->ensurePolished();
    new TitleRowMirror(*controls.nameGrid, *controls.nameRow, *controls.grid, this);
    new ColumnResizeGrip(*controls.nameGrid, *controls.grid, this);
    m_titles = new LogTitlesModel(m_table, this);
    m_rows = new LogTableModel(m_table, this);
    controls.nameGrid->setModel(m_titles);
    controls.grid->setModel(m_rows);
    keepBottomInView();
    m_subscription = m_table.addChangeListener([this] { followTable(); });
    followTable();
}

void LogViewerWindow::setUpGrids(int columnWidth) {
    QTableView& names = *m_controls.nameGrid;
    QTableView& grid = *m_controls.grid;
    for (QTableView* view : {&names, &grid}) {
        view->horizontalHeader()->hide();
        view->verticalHeader()->hide();
        view->horizontalHeader()->setDefaultSectionSize(columnWidth);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view->setWordWrap(false);
    }
    names.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    names.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    names.setSelectionMode(QAbstractItemView::NoSelection);
    names.setFocusPolicy(Qt::NoFocus);
    // Always there, so the body's width and the titles' never jump apart.
    grid.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // A time fills a narrow column to within the cell's margin, where "…"
    // would take its last digits; a cell too long for its column is cut
    // at the line instead, as on a paper log.
    grid.setTextElideMode(Qt::ElideNone);
}

void LogViewerWindow::followTable() {
    setWindowTitle(logText(m_table.caption()));
    m_controls.label->setText(logText(m_table.countLabel()));
}

// A grid that showed the newest row goes on showing it as rows come in.
void LogViewerWindow::keepBottomInView() {
    QTableView* grid = m_controls.grid;
    connect(m_rows, &QAbstractItemModel::rowsAboutToBeInserted, this, [this, grid] {
        const QScrollBar* bar = grid->verticalScrollBar();
        m_showedBottom = bar->value() == bar->maximum();
    });
    connect(m_rows, &QAbstractItemModel::rowsInserted, this, [this, grid] {
        if (m_showedBottom) {
            grid->scrollToBottom();
        }
    });
}

}  // namespace brevanto
