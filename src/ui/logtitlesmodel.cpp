#include "ui/logtitlesmodel.h"

#include "ui/logtext.h"

namespace brevanto {

LogTitlesModel::LogTitlesModel(LogTable& table, QObject* parent)
    : QAbstractTableModel(parent),
      m_table(table),
      m_columns(table.rows().columns()),
      m_titles(table.titles()),
      m_subscription(table.addChangeListener([this] { follow(); })) {}

int LogTitlesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 1;
}

int LogTitlesModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_columns;
}

QVariant LogTitlesModel::data(const QModelIndex& index, int role) const {
    if ((role != Qt::DisplayRole && role != Qt::ToolTipRole) || !index.isValid()) {
        return {};
    }
    const auto column = static_cast<std::size_t>(index.column());
    // Fewer titles than columns while the titles are not set.
    return column < m_titles.size() ? logText(m_titles[column]) : QString();
}

void LogTitlesModel::follow() {
    if (m_table.rows().columns() != m_columns) {
        beginResetModel();
        m_columns = m_table.rows().columns();
        m_titles = m_table.titles();
        endResetModel();
    } else if (m_table.titles() != m_titles) {
        m_titles = m_table.titles();
        if (m_columns > 0) {
            emit dataChanged(index(0, 0), index(0, m_columns - 1));
        }
    }
}

}  // namespace brevanto
