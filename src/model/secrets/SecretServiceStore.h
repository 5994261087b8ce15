// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/secrets/SecretBackend.h"

#include <QString>

// Secrets as items of the desktop's Secret Service (gnome-keyring, KWallet) in its default
// collection, found by the attributes "service" and "account". Every call is bounded in
// time, so a hung daemon costs seconds, not minutes. A locked collection is asked to
// unlock; a value that stays locked is an error, never "no value".
class SecretServiceStore : public SecretBackend
{
public:
    explicit SecretServiceStore(int timeoutMs = 2000);

    bool write(const QString &service, const QString &account, const QByteArray &value) override;
    std::optional<QByteArray> read(const QString &service, const QString &account) override;
    bool remove(const QString &service, const QString &account) override;
    QString lastError() const override { return m_lastError; }

    // Whether a session bus is there, the service runs or can be started, and it has a
    // default collection, all within timeoutMs. *why says what is missing.
    static bool isAvailable(int timeoutMs, QString *why);

    // What one call into the service gave; ok false with error on failure.
    struct Outcome
    {
        bool ok = true;
        std::optional<QByteArray> value;
        QString error;
    };

private:
    Outcome settle(std::optional<Outcome> outcome);

    int m_timeoutMs;
    QString m_lastError;
};
