// The event journal as the event pane's model. The journal changes on any
// thread; the model follows it on the main thread, one refresh for however
// many changes came in between, and inserts rows where lines were added so
// the pane keeps its place.
#pragma once

#include <QAbstractListModel>

#include "platform/coalescedpost.h"
#include "store/eventlist.h"

namespace brevanto {

class EventListModel : public QAbstractListModel {
    Q_OBJECT

public:
    // Listens to `list`, which must outlive the model, until it goes.
    EventListModel(EventList& list, MainThreadInvoker& mainThread, QObject* parent = nullptr);
    ~EventListModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // Takes the journal's lines now; on the main thread.
    void refresh();

signals:
    void linesAppended();

private:
    EventList& m_list;
    CoalescedPost m_refresh;
    EventList::Lines m_lines;
};

}  // namespace brevanto
