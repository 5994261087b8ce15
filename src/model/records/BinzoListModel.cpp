// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/records/BinzoListModel.h"

#include "model/records/Binzo.h"
#include "model/store/DataController.h"

BinzoListModel::BinzoListModel(DataController *controller)
    : RecordListModel(controller)
    , m_controller(controller)
{
    setRecords(m_controller->binzos());
    connect(m_controller, &DataController::binzosChanged, this,
            [this] { setRecords(m_controller->binzos()); });
}

Binzo *BinzoListModel::binzoAt(int row) const
{
    return static_cast<Binzo *>(recordAt(row));
}

QVariant BinzoListModel::data(const QModelIndex &index, int role) const
{
    const Binzo *binzo = binzoAt(index.row());
    if (!binzo)
        return {};
    switch (role) {
    case IdRole:
        return binzo->id();
    case Qt::DisplayRole:
    case NameRole:
        return binzo->name();
    case SfSymbolRole:
        return binzo->sfSymbol();
    case ColorHexRole:
        return binzo->colorHex();
    case SortIndexRole:
        return binzo->sortIndex();
    case BinzoRole:
        return QVariant::fromValue(binzoAt(index.row()));
    default:
        return {};
    }
}

QHash<int, QByteArray> BinzoListModel::roleNames() const
{
    return {{IdRole, "id"},
            {NameRole, "name"},
            {SfSymbolRole, "sfSymbol"},
            {ColorHexRole, "colorHex"},
            {SortIndexRole, "sortIndex"},
            {BinzoRole, "binzo"}};
}
