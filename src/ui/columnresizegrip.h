// Lets the user widen or narrow a column of the body grid by dragging the
// line between two titles, as on a header: the body has no header of its
// own, the title grid above it stands for one.
#pragma once

#include <QObject>

class QMouseEvent;
class QTableView;

namespace brevanto {

class ColumnResizeGrip : public QObject {
    Q_OBJECT

public:
    // Both outlive the grip.
    ColumnResizeGrip(QTableView& titles, QTableView& body, QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The column whose right edge is under `x` of the titles' viewport, or -1.
    int columnEndingAt(int x) const;
    bool press(const QMouseEvent& event);
    bool move(const QMouseEvent& event);

    QTableView& m_titles;
    QTableView& m_body;
    int m_column = -1;
    int m_pressX = 0;
    int m_pressWidth = 0;
};

}  // namespace brevanto
