// A log table's column titles as the one row of the grid above its body.
// A title longer than its column is cut there; its tip shows it whole.
#pragma once

#include <string>
#include <vector>

#include <QAbstractTableModel>

#include "store/logtable.h"

namespace brevanto {

class LogTitlesModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // `table` must outlive the model.
    explicit LogTitlesModel(LogTable& table, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    void follow();

    LogTable& m_table;
    int m_columns;
    std::vector<std::string> m_titles;
    Subscription m_subscription;
};

}  // namespace brevanto
