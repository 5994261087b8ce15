// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/SecretBackend.h"

#include <QByteArray>
#include <QHash>
#include <QString>

// An in-memory secret store whose writes can be made to fail, as a locked keyring does.
class FakeSecretBackend : public SecretBackend
{
public:
    explicit FakeSecretBackend(QHash<QString, QByteArray> *items, const bool *refuseWrites)
        : m_items(items)
        , m_refuseWrites(refuseWrites)
    {
    }

    bool write(const QString &, const QString &account, const QByteArray &value) override
    {
        if (*m_refuseWrites)
            return false;
        m_items->insert(account, value);
        return true;
    }
    std::optional<QByteArray> read(const QString &, const QString &account) override
    {
        const auto it = m_items->constFind(account);
        return it == m_items->cend() ? std::nullopt : std::optional(*it);
    }
    bool remove(const QString &, const QString &account) override
    {
        m_items->remove(account);
        return true;
    }
    QString lastError() const override
    {
        return *m_refuseWrites ? QStringLiteral("Cannot create an item in a locked collection")
                               : QString();
    }

private:
    QHash<QString, QByteArray> *m_items;
    const bool *m_refuseWrites;
};
