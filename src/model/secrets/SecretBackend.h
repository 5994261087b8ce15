// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

// A store of one secret per (service, account) pair. Implementations: the desktop's Secret
// Service, an encrypted file, and fakes in tests.
class SecretBackend
{
public:
    virtual ~SecretBackend() = default;

    // Replaces any previous value (update else add).
    virtual bool write(const QString &service, const QString &account, const QByteArray &value) = 0;
    // Absent when there is no item or it cannot be read.
    virtual std::optional<QByteArray> read(const QString &service, const QString &account) = 0;
    // True when the item is gone afterwards, including when there was none.
    virtual bool remove(const QString &service, const QString &account) = 0;
    // Why the last failing call failed, for messages shown to the user (never the secret).
    virtual QString lastError() const = 0;
};
