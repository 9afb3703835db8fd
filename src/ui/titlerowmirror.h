// Keeps the one-row title grid over the body grid as if it were the body's
// own header: the same columns and widths, the same row height, and the
// same horizontal scroll, so each title stays above its column. The title
// grid has no scroll bar, so its viewport is kept as wide as the body's
// (the layout row that holds it gives up the width of the body's vertical
// bar); otherwise, scrolled to the right end, the last titles would stop
// short of their columns.
#pragma once

#include <QObject>

class QBoxLayout;
class QTableView;

namespace brevanto {

class TitleRowMirror : public QObject {
    Q_OBJECT

public:
    // `titleRow` holds `titles` alone. All three outlive the mirror.
    TitleRowMirror(QTableView& titles, QBoxLayout& titleRow, QTableView& body,
                   QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fitRowHeight();
    void mirrorViewportWidth();
    void mirrorScroll();

    QTableView& m_titles;
    QBoxLayout& m_titleRow;
    QTableView& m_body;
};

}  // namespace brevanto
