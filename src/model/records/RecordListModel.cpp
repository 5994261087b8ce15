// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/records/RecordListModel.h"

#include <QSet>

RecordListModel::RecordListModel(QObject *parent)
    : QAbstractListModel(parent)
{ }

int RecordListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_records.size());
}

QObject *RecordListModel::recordAt(int row) const
{
    return row >= 0 && row < m_records.size() ? m_records.at(row) : nullptr;
}

void RecordListModel::applyRecords(const QList<QObject *> &records,
                                   const std::function<void(QObject *)> &watch)
{
    const QSet<QObject *> wanted(records.cbegin(), records.cend());
    for (int row = int(m_records.size()) - 1; row >= 0; --row) {
        if (wanted.contains(m_records.at(row)))
            continue;
        beginRemoveRows({}, row, row);
        disconnect(m_records.at(row), nullptr, this, nullptr);
        m_records.removeAt(row);
        endRemoveRows();
    }

    const QSet<QObject *> present(m_records.cbegin(), m_records.cend());
    QList<QObject *> kept;
    std::copy_if(records.cbegin(), records.cend(), std::back_inserter(kept),
                 [&](QObject *record) { return present.contains(record); });
    if (kept != m_records) {
        // Reordered: rare (only a changed sortIndex), a reset is simplest.
        beginResetModel();
        for (QObject *record : std::as_const(m_records))
            disconnect(record, nullptr, this, nullptr);
        m_records = records;
        for (QObject *record : records)
            watch(record);
        endResetModel();
        return;
    }
    for (int row = 0; row < records.size(); ++row) {
        if (row < m_records.size() && m_records.at(row) == records.at(row))
            continue;
        beginInsertRows({}, row, row);
        m_records.insert(row, records.at(row));
        watch(records.at(row));
        endInsertRows();
    }
}

void RecordListModel::recordChanged(QObject *record)
{
    const int row = int(m_records.indexOf(record));
    if (row >= 0)
        emit dataChanged(index(row), index(row));
}
