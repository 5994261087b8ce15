// SPDX-License-Identifier: GPL-3.0-or-later
#include "quick/VisibleEntriesModel.h"

#include "quick/SecretPreviews.h"

VisibleEntriesModel::VisibleEntriesModel(QObject *parent)
    : QAbstractListModel(parent)
{ }

int VisibleEntriesModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_entries.size());
}

QVariant VisibleEntriesModel::data(const QModelIndex &index, int role) const
{
    Entry *entry = entryAt(index.row());
    if (!index.isValid() || !entry)
        return {};
    const bool revealed = !m_revealedId.isNull() && entry->id() == m_revealedId;
    switch (role) {
    case EntryRole:
        return QVariant::fromValue(entry);
    case EntryIdRole:
        return entry->id().toString(QUuid::WithoutBraces);
    case LabelRole:
        return entry->label();
    case DisplayValueRole:
        if (!entry->isSensitive())
            return entry->displayValue(entry->inlineValue(), revealed);
        // Never read here: the keyring may be slow, locked or gone.
        return m_previews ? m_previews->text(*entry, revealed) : SecretPreviews::loadingText();
    case IsSensitiveRole:
        return entry->isSensitive();
    case IsRevealedRole:
        return revealed;
    case IsSelectedRole:
        return index.row() == m_selectedRow;
    case AccentHexRole:
        return m_accents.value(entry->binzoID(), defaultAccentHex());
    default:
        return {};
    }
}

QHash<int, QByteArray> VisibleEntriesModel::roleNames() const
{
    return {
        {EntryRole, "entry"},
        {EntryIdRole, "entryId"},
        {LabelRole, "label"},
        {DisplayValueRole, "displayValue"},
        {IsSensitiveRole, "isSensitive"},
        {IsRevealedRole, "isRevealed"},
        {IsSelectedRole, "isSelected"},
        {AccentHexRole, "accentHex"},
    };
}

Entry *VisibleEntriesModel::entryAt(int row) const
{
    return row >= 0 && row < m_entries.size() ? m_entries.at(row) : nullptr;
}

void VisibleEntriesModel::setPreviews(SecretPreviews *previews)
{
    m_previews = previews;
    connect(previews, &SecretPreviews::changed, this, [this](const QUuid &id) {
        for (int row = 0; row < m_entries.size(); ++row) {
            if (m_entries.at(row)->id() == id)
                rowsChanged({row}, {DisplayValueRole});
        }
    });
}

void VisibleEntriesModel::setEntries(const QList<Entry *> &entries,
                                     const QHash<QUuid, QString> &accents)
{
    m_accents = accents;
    if (entries == m_entries) {
        // Same rows: labels, values or accents may have been edited, the delegates stay.
        if (!m_entries.isEmpty())
            emit dataChanged(index(0), index(int(m_entries.size()) - 1));
        return;
    }
    const qsizetype oldCount = m_entries.size();
    beginResetModel();
    m_entries = entries;
    endResetModel();
    if (oldCount != m_entries.size())
        emit countChanged();
}

void VisibleEntriesModel::setSelectedRow(int row)
{
    if (row == m_selectedRow)
        return;
    const int previous = m_selectedRow;
    m_selectedRow = row;
    rowsChanged({previous, row}, {IsSelectedRole});
}

void VisibleEntriesModel::setRevealedId(const QUuid &id)
{
    if (id == m_revealedId)
        return;
    QList<int> rows;
    for (int row = 0; row < m_entries.size(); ++row) {
        const QUuid entryId = m_entries.at(row)->id();
        if (entryId == id || entryId == m_revealedId)
            rows.append(row);
    }
    m_revealedId = id;
    rowsChanged(rows, {IsRevealedRole, DisplayValueRole});
}

void VisibleEntriesModel::rowsChanged(const QList<int> &rows, const QList<int> &roles)
{
    for (int row : rows) {
        if (row >= 0 && row < m_entries.size())
            emit dataChanged(index(row), index(row), roles);
    }
}
