// What the three log viewers share: a tool window over one log table, with
// the column titles in a one-row grid (NameGrid) above the body (Grid) and
// the count below it (Label1). The window follows the table's caption,
// titles, rows and count as they change; closing it only hides it, the
// program ends it. Each viewer brings only its form and its column width.
#pragma once

#include <QWidget>

#include "store/logtable.h"

class QBoxLayout;
class QLabel;
class QTableView;

namespace brevanto {

class LogTableModel;
class LogTitlesModel;

class LogViewerWindow : public QWidget {
    Q_OBJECT

protected:
    // The form's controls. `nameRow` is the layout that holds NameGrid alone.
    struct Controls {
        QTableView* nameGrid;
        QBoxLayout* nameRow;
        QTableView* grid;
        QLabel* label;
    };

    // `table` must outlive the window.
    explicit LogViewerWindow(LogTable& table, QWidget* parent = nullptr);
    // Once the form is set up: shows the table in its controls.
    void showTable(const Controls& controls, int columnWidth);

private:
    void setUpGrids(int columnWidth);
    void followTable();
    void keepBottomInView();

    LogTable& m_table;
    Controls m_controls{};
    LogTitlesModel* m_titles = nullptr;
    LogTableModel* m_rows = nullptr;
    bool m_showedBottom = false;
    Subscription m_subscription;
};

}  // namespace brevanto
