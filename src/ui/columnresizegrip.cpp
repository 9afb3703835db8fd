#include "ui/columnresizegrip.h"

#include <algorithm>
#include <cstdlib>

#include <QHeaderView>
#include <QMouseEvent>
#include <QTableView>

namespace brevanto {
namespace {

// How far from the line a press still takes it, as a header's grip does.
constexpr int kGripMargin = 4;

}  // namespace

ColumnResizeGrip::ColumnResizeGrip(QTableView& titles, QTableView& body, QObject* parent)
    : QObject(parent), m_titles(titles), m_body(body) {
    m_titles.viewport()->setMouseTracking(true);
    m_titles.viewport()->installEventFilter(this);
}

bool ColumnResizeGrip::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_titles.viewport()) {
        return QObject::eventFilter(watched, event);
    }
    switch (event->type()) {
        case QEvent::MouseButtonPress:
            return press(*static_cast<QMouseEvent*>(event));
        case QEvent::MouseMove:
            return move(*static_cast<QMouseEvent*>(event));
        case QEvent::MouseButtonRelease:
            if (m_column >= 0) {
                m_column = -1;
                return true;
            }
            return false;
        case QEvent::Leave:
            if (m_column < 0) {
                m_titles.viewport()->unsetCursor();
            }
            return false;
        default:
            return false;
    }
}

int ColumnResizeGrip::columnEndingAt(int x) const {
    // The line may be just left or right of x: look at both columns.
    for (const int probe : {x - kGripMargin, x + kGripMargin}) {
        const int column = m_titles.columnAt(probe);
        if (column < 0) {
            continue;
        }
        const int end = m_titles.columnViewportPosition(column) + m_titles.columnWidth(column);
        if (std::abs(end - x) <= kGripMargin) {
            return column;
        }
    }
    return -1;
}

bool ColumnResizeGrip::press(const QMouseEvent& event) {
    const int x = event.position().toPoint().x();
    const int column = event.button() == Qt::LeftButton ? columnEndingAt(x) : -1;
    if (column < 0) {
        return false;
    }
    m_column = column;
    m_pressX = x;
    m_pressWidth = m_body.columnWidth(column);
    return true;
}

bool ColumnResizeGrip::move(const QMouseEvent& event) {
    const int x = event.position().toPoint().x();
    if (m_column < 0) {
        if (columnEndingAt(x) >= 0) {
            m_titles.viewport()->setCursor(Qt::SplitHCursor);
        } else {
            m_titles.viewport()->unsetCursor();
        }
        return false;
    }
    const int narrowest = m_body.horizontalHeader()->minimumSectionSize();
    m_body.setColumnWidth(m_column, std::max(narrowest, m_pressWidth + x - m_pressX));
    return true;
}

}  // namespace brevanto
