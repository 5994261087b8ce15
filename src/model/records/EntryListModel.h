// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/records/RecordListModel.h"

class DataController;
class Entry;

// Every entry in store order, live. QML roles: id, label, isSensitive, binzoID, createdAt,
// updatedAt, lastUsedAt, useCount and entry (the record object). Values are not roles:
// sensitive ones must be read from the secret store only when shown.
class EntryListModel : public RecordListModel
{
    Q_OBJECT
public:
    enum Role {
        IdRole = Qt::UserRole + 1,
        LabelRole,
        IsSensitiveRole,
        BinzoIdRole,
        CreatedAtRole,
        UpdatedAtRole,
        LastUsedAtRole,
        UseCountRole,
        EntryRole
    };

    explicit EntryListModel(DataController *controller);

    Entry *entryAt(int row) const;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

private:
    DataController *m_controller;
};
