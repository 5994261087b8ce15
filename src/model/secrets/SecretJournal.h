// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

#include <mutex>

// The secret-store items whose existence is not settled yet: each note says "the item of this
// account in this store may exist while it should not". A note is made before a change that
// can leave such an item behind (a new secret, a secret being removed, a copy made while
// moving to another store) and cleared once the item is known to be right, so a crash at any
// point leaves a note to act on at the next start. Notes hold names only, never values.
// Kept in a private file; safe to use from any thread.
class SecretJournal
{
public:
    struct Note
    {
        QString store; // empty: whichever store is in use when the note is acted on
        QString account;
        bool operator==(const Note &other) const = default;
    };

    explicit SecretJournal(QString filePath);

    QList<Note> notes() const;
    // False, with *error set, when the note could not be kept on disk.
    bool add(const QList<Note> &notes, QString *error);
    void clear(const Note &note);

private:
    bool save(const QList<Note> &notes, QString *error) const;

    QString m_filePath;
    mutable std::mutex m_mutex;
    QList<Note> m_notes;
};
