// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractListModel>
#include <QList>

#include <functional>

// Rows of record objects that follow the store: additions and removals arrive as row
// inserts and removals (so views keep their state), a changed field as dataChanged.
class RecordListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QObject *recordAt(int row) const;

protected:
    explicit RecordListModel(QObject *parent);

    // Brings the rows to records; Record must have a changed() signal.
    template<class Record> void setRecords(const QList<Record *> &records)
    {
        applyRecords(QList<QObject *>(records.cbegin(), records.cend()), [this](QObject *object) {
            connect(static_cast<Record *>(object), &Record::changed, this,
                    [this, object] { recordChanged(object); });
        });
    }

private:
    void applyRecords(const QList<QObject *> &records, const std::function<void(QObject *)> &watch);
    void recordChanged(QObject *record);

    QList<QObject *> m_records;
};
