#include "ui/logtablemodel.h"

#include "ui/logtext.h"

namespace brevanto {

LogTableModel::LogTableModel(LogTable& table, QObject* parent)
    : QAbstractTableModel(parent),
      m_table(table),
      m_filledRows(table.rows().rowCount()),
      m_columns(table.rows().columns()),
      m_generation(table.rows().generation()),
      m_subscription(table.addChangeListener([this] { follow(); })) {}

int LogTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_filledRows) + 1;
}

int LogTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_columns;
}

QVariant LogTableModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid()) {
        return {};
    }
    const auto row = static_cast<std::size_t>(index.row());
    if (row >= m_filledRows) {
        return QString();
    }
    return logText(m_table.rows().cell(row, index.column()));
}

void LogTableModel::follow() {
    const DayTable& rows = m_table.rows();
    const std::size_t filled = rows.rowCount();
    // Only emptying drops rows or changes the columns, and it counts up.
    if (rows.generation() != m_generation) {
        beginResetModel();
        m_filledRows = filled;
        m_columns = rows.columns();
        m_generation = rows.generation();
        endResetModel();
    } else if (filled > m_filledRows) {
        // Before the empty last row, which moves down.
        beginInsertRows({}, static_cast<int>(m_filledRows), static_cast<int>(filled) - 1);
        m_filledRows = filled;
        endInsertRows();
    }
}

}  // namespace brevanto
