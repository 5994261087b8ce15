// SPDX-License-Identifier: GPL-3.0-or-later
#include "quick/BinzoTabModel.h"

BinzoTabModel::BinzoTabModel(QObject *parent)
    : QAbstractListModel(parent)
{ }

int BinzoTabModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_binzos.size());
}

QVariant BinzoTabModel::data(const QModelIndex &index, int role) const
{
    Binzo *binzo = binzoAt(index.row());
    if (!index.isValid() || !binzo)
        return {};
    switch (role) {
    case BinzoRole:
        return QVariant::fromValue(binzo);
    case BinzoIdRole:
        return binzo->id().toString(QUuid::WithoutBraces);
    case NameRole:
        return binzo->name();
    case SfSymbolRole:
        return binzo->sfSymbol();
    case ColorHexRole:
        return binzo->colorHex();
    default:
        return {};
    }
}

QHash<int, QByteArray> BinzoTabModel::roleNames() const
{
    return {
        {BinzoRole, "binzo"},       {BinzoIdRole, "binzoId"},   {NameRole, "name"},
        {SfSymbolRole, "sfSymbol"}, {ColorHexRole, "colorHex"},
    };
}

Binzo *BinzoTabModel::binzoAt(int row) const
{
    return row >= 0 && row < m_binzos.size() ? m_binzos.at(row) : nullptr;
}

int BinzoTabModel::indexOf(const QUuid &id) const
{
    for (int row = 0; row < m_binzos.size(); ++row) {
        if (m_binzos.at(row)->id() == id)
            return row;
    }
    return -1;
}

void BinzoTabModel::setBinzos(const QList<Binzo *> &binzos)
{
    if (binzos == m_binzos) {
        if (!m_binzos.isEmpty())
            emit dataChanged(index(0), index(int(m_binzos.size()) - 1));
        return;
    }
    const qsizetype oldCount = m_binzos.size();
    for (const QMetaObject::Connection &connection : std::as_const(m_connections))
        disconnect(connection);
    m_connections.clear();
    beginResetModel();
    m_binzos = binzos;
    endResetModel();
    for (Binzo *binzo : std::as_const(m_binzos)) {
        m_connections.append(connect(binzo, &Binzo::changed, this, [this, binzo] {
            const int row = int(m_binzos.indexOf(binzo));
            if (row >= 0)
                emit dataChanged(index(row), index(row));
            emit binzoEdited(binzo);
        }));
    }
    if (oldCount != m_binzos.size())
        emit countChanged();
}
