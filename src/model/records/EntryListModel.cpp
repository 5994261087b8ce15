// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/records/EntryListModel.h"

#include "model/records/Entry.h"
#include "model/store/DataController.h"

EntryListModel::EntryListModel(DataController *controller)
    : RecordListModel(controller)
    , m_controller(controller)
{
    setRecords(m_controller->entries());
    connect(m_controller, &DataController::entriesChanged, this,
            [this] { setRecords(m_controller->entries()); });
}

Entry *EntryListModel::entryAt(int row) const
{
    return static_cast<Entry *>(recordAt(row));
}

QVariant EntryListModel::data(const QModelIndex &index, int role) const
{
    Entry *entry = entryAt(index.row());
    if (!entry)
        return {};
    switch (role) {
    case IdRole:
        return entry->id();
    case Qt::DisplayRole:
    case LabelRole:
        return entry->label();
    case IsSensitiveRole:
        return entry->isSensitive();
    case BinzoIdRole:
        return entry->binzoID();
    case CreatedAtRole:
        return entry->createdAt();
    case UpdatedAtRole:
        return entry->updatedAt();
    case LastUsedAtRole:
        return entry->lastUsedAt();
    case UseCountRole:
        return entry->useCount();
    case EntryRole:
        return QVariant::fromValue(entry);
    default:
        return {};
    }
}

QHash<int, QByteArray> EntryListModel::roleNames() const
{
    return {{IdRole, "id"},
            {LabelRole, "label"},
            {IsSensitiveRole, "isSensitive"},
            {BinzoIdRole, "binzoID"},
            {CreatedAtRole, "createdAt"},
            {UpdatedAtRole, "updatedAt"},
            {LastUsedAtRole, "lastUsedAt"},
            {UseCountRole, "useCount"},
            {EntryRole, "entry"}};
}
