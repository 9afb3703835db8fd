// The rows of a log table as a grid's model: the filled rows and one empty
// row after them, as the grid's body always ends. A day in test mode is
// 432,000 rows, so the model holds nothing per row: each cell is read from
// the table when the view paints it. It follows the table as it grows (only
// the new rows are inserted, so the view keeps its place) and starts over
// when the table was emptied.
#pragma once

#include <cstddef>
#include <cstdint>

#include <QAbstractTableModel>

#include "store/logtable.h"

namespace brevanto {

class LogTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // `table` must outlive the model.
    explicit LogTableModel(LogTable& table, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    void follow();

    LogTable& m_table;
    // What the views were last told; the table may already be ahead of it.
    std::size_t m_filledRows = 0;
    int m_columns = 0;
    std::uint64_t m_generation = 0;
    Subscription m_subscription;
};

}  // namespace brevanto
