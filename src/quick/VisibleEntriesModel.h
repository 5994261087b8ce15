// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/records/Entry.h"

class SecretPreviews;

#include <QAbstractListModel>
#include <QHash>
#include <QList>
#include <QUuid>

// The rows of the quick-access list: the entries the search shows right now, with the
// selection, reveal state and accent each row is drawn with.
class VisibleEntriesModel : public QAbstractListModel
{
    Q_OBJECT
    Q_PROPERTY(int count READ rowCount NOTIFY countChanged)
public:
    enum Role {
        EntryRole = Qt::UserRole + 1,
        EntryIdRole,
        LabelRole,
        DisplayValueRole,
        IsSensitiveRole,
        IsRevealedRole,
        IsSelectedRole,
        AccentHexRole,
    };

    explicit VisibleEntriesModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    const QList<Entry *> &entries() const { return m_entries; }
    Entry *entryAt(int row) const;

    // Where sensitive rows get their value line; without it they show a placeholder.
    void setPreviews(SecretPreviews *previews);
    // Accents are looked up by binzo id; entries of an unknown binzo get the default.
    void setEntries(const QList<Entry *> &entries, const QHash<QUuid, QString> &accents);
    void setSelectedRow(int row);
    void setRevealedId(const QUuid &id);

    static QString defaultAccentHex() { return QStringLiteral("6385F4"); }

signals:
    void countChanged();

private:
    void rowsChanged(const QList<int> &rows, const QList<int> &roles);

    QList<Entry *> m_entries;
    QHash<QUuid, QString> m_accents;
    SecretPreviews *m_previews = nullptr;
    int m_selectedRow = 0;
    QUuid m_revealedId;
};
