// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/secrets/SecretBackend.h"

#include <QMap>

// An in-memory secret store whose writes can be made to fail.
class FakeSecretBackend : public SecretBackend
{
public:
    // Shared with the test after the backend is handed to KeychainStore.
    struct State
    {
        QMap<QString, QByteArray> items; // by account
        bool failWrites = false;
        int removals = 0;
    };

    explicit FakeSecretBackend(State *state)
        : m_state(state)
    { }

    bool write(const QString &, const QString &account, const QByteArray &value) override
    {
        if (m_state->failWrites)
            return false;
        m_state->items.insert(account, value);
        return true;
    }
    std::optional<QByteArray> read(const QString &, const QString &account) override
    {
        if (!m_state->items.contains(account))
            return std::nullopt;
        return m_state->items.value(account);
    }
    bool remove(const QString &, const QString &account) override
    {
        ++m_state->removals;
        m_state->items.remove(account);
        return true;
    }
    QString lastError() const override
    {
        return m_state->failWrites ? QStringLiteral("refused by the test") : QString();
    }

private:
    State *m_state;
};
