// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Binzo.h"

#include <QAbstractListModel>
#include <QList>

// The binzos in tab order, for the tab strip and the editors' binzo pickers. Follows edits
// of each binzo's name, symbol and colour.
class BinzoTabModel : public QAbstractListModel
{
    Q_OBJECT
    Q_PROPERTY(int count READ rowCount NOTIFY countChanged)
public:
    enum Role {
        BinzoRole = Qt::UserRole + 1,
        BinzoIdRole,
        NameRole,
        SfSymbolRole,
        ColorHexRole,
    };

    explicit BinzoTabModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    const QList<Binzo *> &binzos() const { return m_binzos; }
    Q_INVOKABLE Binzo *binzoAt(int row) const;
    // Position of the binzo with that id, -1 when none.
    int indexOf(const QUuid &id) const;

    void setBinzos(const QList<Binzo *> &binzos);

signals:
    void countChanged();
    // A shown binzo's name, symbol or colour changed.
    void binzoEdited(Binzo *binzo);

private:
    QList<Binzo *> m_binzos;
    QList<QMetaObject::Connection> m_connections;
};
