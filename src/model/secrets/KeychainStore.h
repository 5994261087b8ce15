// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/secrets/SecretBackend.h"

#include <QString>
#include <QUuid>

#include <memory>
#include <optional>

// The values of sensitive entries, one secret per entry keyed by the entry's id.
class KeychainStore
{
public:
    // Without a backend every write fails and every read is absent, with unavailableReason
    // as the error.
    explicit KeychainStore(std::unique_ptr<SecretBackend> backend,
                           QString unavailableReason = QString());

    // The backend remembered in the preferences (chosen by a quick probe on first use).
    static KeychainStore &shared();
    // Tests and start-up choose the backend of the shared instance.
    static void setSharedBackend(std::unique_ptr<SecretBackend> backend);

    static QString service() { return QStringLiteral("com.qorvastine.binzo.secrets"); }
    // The uppercase hyphenated form of the id: the secret's account name.
    static QString account(const QUuid &id);

    bool write(const QString &value, const QUuid &id);
    std::optional<QString> read(const QUuid &id);
    bool remove(const QUuid &id);
    QString lastError() const;

private:
    std::unique_ptr<SecretBackend> m_backend;
    QString m_unavailableReason;
};
