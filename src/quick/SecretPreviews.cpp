// SPDX-License-Identifier: GPL-3.0-or-later
#include "quick/SecretPreviews.h"

#include "model/records/Entry.h"
#include "model/secrets/KeychainStore.h"

#include <QPointer>

namespace {

using Status = SecretResult::Status;

QString stateText(const SecretResult &result)
{
    switch (result.status) {
    case Status::Locked:
        return SecretPreviews::lockedText();
    case Status::Unknown:
        return SecretPreviews::notAnsweringText();
    default:
        return QStringLiteral("\u2014");
    }
}

} // namespace

SecretPreviews::SecretPreviews(KeychainStore &store, QObject *parent)
    : QObject(parent)
    , m_store(store)
{
    connect(&store, &KeychainStore::valueChanged, this, [this](const QUuid &id) {
        m_previews.remove(id);
        if (id == m_revealedId)
            m_revealedValue.reset();
        emit changed(id);
    });
    connect(&store, &KeychainStore::unlocked, this, &SecretPreviews::refresh);
    connect(&store, &KeychainStore::answeringChanged, this, [this] {
        if (m_store.isAnswering())
            refresh();
    });
}

QString SecretPreviews::text(const Entry &entry, bool revealed)
{
    const QUuid id = entry.id();
    if (revealed && id == m_revealedId) {
        if (m_revealedValue)
            return entry.displayValue(m_revealedValue, true);
        if (!m_revealedAsked)
            read(id, true);
    }
    Preview &preview = m_previews[id];
    if ((preview.text.isEmpty() || preview.stale) && !preview.reading)
        read(id, false);
    return preview.text.isEmpty() ? loadingText() : preview.text;
}

void SecretPreviews::refresh()
{
    for (auto it = m_previews.begin(); it != m_previews.end(); ++it) {
        it->stale = true;
        emit changed(it.key());
    }
    m_revealedValue.reset();
    m_revealedAsked = false;
}

void SecretPreviews::setRevealed(const QUuid &id)
{
    if (id == m_revealedId)
        return;
    m_revealedId = id;
    m_revealedValue.reset();
    m_revealedAsked = false;
}

void SecretPreviews::read(const QUuid &id, bool revealed)
{
    // The reveal is asked for by the person: it may prompt and is always asked of the store.
    const auto purpose = revealed ? KeychainStore::Purpose::Use : KeychainStore::Purpose::Preview;
    if (revealed)
        m_revealedAsked = true;
    else
        m_previews[id].reading = true;
    m_store.read(id, purpose, this, [this, id, revealed](const SecretResult &result) {
        if (revealed) {
            if (id != m_revealedId)
                return;
            if (result.done())
                m_revealedValue = QString::fromUtf8(result.value);
            else if (result.status == Status::Locked)
                m_store.unlock();
        }
        Preview &preview = m_previews[id];
        if (!revealed)
            preview.reading = false;
        preview.stale = false;
        preview.text = result.done()
            ? (result.value.isEmpty() ? QStringLiteral("\u2014")
                                      : Entry::maskedValue(QString::fromUtf8(result.value)))
            : stateText(result);
        emit changed(id);
    });
}
