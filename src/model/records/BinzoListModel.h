// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/records/RecordListModel.h"

class Binzo;
class DataController;

// Every compartment ordered by sortIndex (store order among equals), live. QML roles: id,
// name, sfSymbol, colorHex, sortIndex and binzo (the record object). Use model.id in
// delegates: a bare id is QML's own attribute.
class BinzoListModel : public RecordListModel
{
    Q_OBJECT
public:
    enum Role {
        IdRole = Qt::UserRole + 1,
        NameRole,
        SfSymbolRole,
        ColorHexRole,
        SortIndexRole,
        BinzoRole
    };

    explicit BinzoListModel(DataController *controller);

    Binzo *binzoAt(int row) const;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

private:
    DataController *m_controller;
};
