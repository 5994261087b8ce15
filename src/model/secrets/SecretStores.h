// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/secrets/SecretBackend.h"

#include <QString>

#include <memory>

// The secret store in use and the others the secrets can move to, by name. Used only on the
// secret store's own thread.
class SecretStores
{
public:
    virtual ~SecretStores() = default;

    // The store in use, chosen first when no choice is remembered yet. Null while no choice
    // can be made; *why says why (Unknown: ask again later).
    virtual SecretBackend *current(QString *name, SecretResult *why) = 0;
    // Null for a name that is no store.
    virtual SecretBackend *byName(const QString &name) = 0;
    // Remembers name as the choice and uses that store from now on.
    virtual bool choose(const QString &name, QString *error) = 0;
};

// One store and nothing to move to: tests, and a desktop that offers a single store.
class SingleSecretStore : public SecretStores
{
public:
    SingleSecretStore(QString name, std::unique_ptr<SecretBackend> backend)
        : m_name(std::move(name))
        , m_backend(std::move(backend))
    { }

    SecretBackend *current(QString *name, SecretResult *) override
    {
        *name = m_name;
        return m_backend.get();
    }
    SecretBackend *byName(const QString &name) override
    {
        return name == m_name ? m_backend.get() : nullptr;
    }
    bool choose(const QString &name, QString *error) override
    {
        if (name == m_name)
            return true;
        *error = QStringLiteral("there is no secret store \"%1\"").arg(name);
        return false;
    }

private:
    QString m_name;
    std::unique_ptr<SecretBackend> m_backend;
};
