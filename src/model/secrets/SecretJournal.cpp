// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/secrets/SecretJournal.h"

#include "model/Logging.h"
#include "model/secrets/PrivateFile.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

SecretJournal::SecretJournal(QString filePath)
    : m_filePath(std::move(filePath))
{
    bool missing = false;
    QString error;
    const std::optional<QByteArray> bytes = PrivateFile::read(m_filePath, &missing, &error);
    if (!bytes) {
        if (!missing)
            qCWarning(lcModel, "%s", qPrintable(error));
        return;
    }
    const QJsonDocument document = QJsonDocument::fromJson(*bytes);
    for (const QJsonValue &value : document.array()) {
        const QJsonObject object = value.toObject();
        const QString account = object.value(QStringLiteral("account")).toString();
        if (!account.isEmpty())
            m_notes.append({object.value(QStringLiteral("store")).toString(), account});
    }
}

QList<SecretJournal::Note> SecretJournal::notes() const
{
    std::lock_guard lock(m_mutex);
    return m_notes;
}

bool SecretJournal::add(const QList<Note> &notes, QString *error)
{
    std::lock_guard lock(m_mutex);
    QList<Note> next = m_notes;
    for (const Note &note : notes) {
        if (!next.contains(note))
            next.append(note);
    }
    if (next == m_notes)
        return true;
    if (!save(next, error))
        return false;
    m_notes = next;
    return true;
}

void SecretJournal::clear(const Note &note)
{
    std::lock_guard lock(m_mutex);
    if (!m_notes.contains(note))
        return;
    QList<Note> next = m_notes;
    next.removeAll(note);
    QString error;
    // A note that stays on disk is acted on again at the next start, which is harmless.
    if (save(next, &error))
        m_notes = next;
    else
        qCWarning(lcModel, "%s", qPrintable(error));
}

bool SecretJournal::save(const QList<Note> &notes, QString *error) const
{
    if (notes.isEmpty()) {
        if (QFile::remove(m_filePath) || !QFile::exists(m_filePath))
            return true;
        *error = QStringLiteral("cannot remove %1").arg(m_filePath);
        return false;
    }
    QJsonArray array;
    for (const Note &note : notes)
        array.append(QJsonObject {{QStringLiteral("store"), note.store},
                                  {QStringLiteral("account"), note.account}});
    const Result<void> written
        = PrivateFile::replace(m_filePath, QJsonDocument(array).toJson(QJsonDocument::Compact));
    *error = written.error();
    return written.ok();
}
