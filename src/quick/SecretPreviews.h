// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <QUuid>

#include <optional>

class Entry;
class KeychainStore;

// The value lines of sensitive rows, read from the secret store off the UI thread so that no
// keyring state can hold up drawing. Only the masked form is kept, and the plain value of the
// one revealed entry while it is revealed; a row shows a placeholder until its read answers,
// and the state of the keyring (locked, not answering) when that is all there is to show.
class SecretPreviews : public QObject
{
    Q_OBJECT
public:
    explicit SecretPreviews(KeychainStore &store, QObject *parent = nullptr);

    static QString loadingText() { return QStringLiteral("Loading\u2026"); }
    static QString lockedText() { return QStringLiteral("The system keyring is locked"); }
    static QString notAnsweringText()
    {
        return QStringLiteral("The system keyring does not answer");
    }

    // The row's value line; starts a read when none is known or the known one is stale.
    QString text(const Entry &entry, bool revealed);
    // Texts are read again at their next use, the old ones showing meanwhile (each showing of
    // the panel, a keyring that was unlocked or answers again).
    void refresh();
    // The plain value of this entry is kept while it is the revealed one; null forgets it.
    void setRevealed(const QUuid &id);

signals:
    // The text of this entry's row has changed.
    void changed(const QUuid &id);

private:
    struct Preview
    {
        QString text;
        bool stale = false;
        bool reading = false;
    };
    void read(const QUuid &id, bool revealed);

    KeychainStore &m_store;
    QHash<QUuid, Preview> m_previews;
    QUuid m_revealedId;
    std::optional<QString> m_revealedValue;
    // One read per reveal (and per refresh), whatever it answers.
    bool m_revealedAsked = false;
};
