#include "ui/eventlistmodel.h"

#include <algorithm>

namespace brevanto {

EventListModel::EventListModel(EventList& list, MainThreadInvoker& mainThread, QObject* parent)
    : QAbstractListModel(parent), m_list(list), m_refresh(mainThread, [this] { refresh(); }) {
    m_list.setChangeListener([this] { m_refresh.request(); });
    refresh();
}

EventListModel::~EventListModel() {
    m_list.setChangeListener({});
}

int EventListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_lines.size());
}

QVariant EventListModel::data(const QModelIndex& index, int role) const {
    // The tip shows a line too long for the pane whole.
    if ((role != Qt::DisplayRole && role != Qt::ToolTipRole) || !index.isValid() ||
        static_cast<std::size_t>(index.row()) >= m_lines.size()) {
        return {};
    }
    return QString::fromStdString(m_lines[static_cast<std::size_t>(index.row())]);
}

void EventListModel::refresh() {
    EventList::Lines lines = m_list.snapshot();
    const auto mismatch = std::mismatch(m_lines.begin(), m_lines.end(), lines.begin(), lines.end());
    const auto kept = static_cast<int>(mismatch.first - m_lines.begin());
    const auto oldCount = static_cast<int>(m_lines.size());
    const auto newCount = static_cast<int>(lines.size());
    if (kept == oldCount && newCount > oldCount) {
        beginInsertRows({}, oldCount, newCount - 1);
        m_lines = std::move(lines);
        endInsertRows();
        emit linesAppended();
    } else if (newCount == oldCount && kept < oldCount) {
        // A line rewritten in place, as a repeated web visit does.
        m_lines = std::move(lines);
        emit dataChanged(index(kept), index(newCount - 1));
    } else if (kept != newCount || newCount != oldCount) {
        beginResetModel();
        m_lines = std::move(lines);
        endResetModel();
    }
}

}  // namespace brevanto
