#include "ui/titlerowmirror.h"

#include <algorithm>

#include <QBoxLayout>
#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>

namespace brevanto {
namespace {

// Room above and below the text, so the rows do not look crowded.
constexpr int kRowPadding = 8;

}  // namespace

TitleRowMirror::TitleRowMirror(QTableView& titles, QBoxLayout& titleRow, QTableView& body,
                               QObject* parent)
    : QObject(parent), m_titles(titles), m_titleRow(titleRow), m_body(body) {
    // In pixels on both, so one's offset means the same on the other.
    m_titles.setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_body.setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    // Both grids follow the same table, so a new column count reaches them
    // together, and each header keeps the widths of the columns it keeps:
    // only a resize has to be passed on.
    connect(m_body.horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int column, int, int width) { m_titles.setColumnWidth(column, width); });
    connect(m_body.horizontalScrollBar(), &QScrollBar::valueChanged, this,
            &TitleRowMirror::mirrorScroll);
    m_body.installEventFilter(this);
    m_body.viewport()->installEventFilter(this);
    fitRowHeight();
    mirrorViewportWidth();
}

bool TitleRowMirror::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_body && event->type() == QEvent::FontChange) {
        fitRowHeight();
    } else if (watched == m_body.viewport() && event->type() == QEvent::Resize) {
        mirrorViewportWidth();
    }
    return QObject::eventFilter(watched, event);
}

void TitleRowMirror::fitRowHeight() {
    const int height = m_body.fontMetrics().height() + kRowPadding;
    // Every row is resized when it changes: never again for the same font.
    for (QTableView* grid : {&m_body, &m_titles}) {
        QHeaderView* rows = grid->verticalHeader();
        rows->setSectionResizeMode(QHeaderView::Fixed);
        rows->setMinimumSectionSize(std::min(rows->minimumSectionSize(), height));
        if (rows->defaultSectionSize() != height) {
            rows->setDefaultSectionSize(height);
        }
    }
    m_titles.setFixedHeight(height + 2 * m_titles.frameWidth());
}

void TitleRowMirror::mirrorViewportWidth() {
    const int gap =
        std::max(m_body.width() - m_body.viewport()->width() - 2 * m_titles.frameWidth(), 0);
    QMargins margins = m_titleRow.contentsMargins();
    if (margins.right() != gap) {
        margins.setRight(gap);
        m_titleRow.setContentsMargins(margins);
    }
}

void TitleRowMirror::mirrorScroll() {
    m_titles.horizontalScrollBar()->setValue(m_body.horizontalScrollBar()->value());
}

}  // namespace brevanto
