// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/secrets/SecretBackend.h"

#include <QCborMap>
#include <QString>

#include <functional>

// Secrets in one encrypted file (XChaCha20-Poly1305, a fresh random nonce per write, the
// header authenticated with the contents) beside a separate private key file, for desktops
// without a Secret Service. Writes are serialised between processes by a lock file and
// replace the file atomically. A file that fails to decrypt (changed, or another key) is an
// error and is never overwritten.
class FileSecretStore : public SecretBackend
{
public:
    // Keeps secrets.sealed, secrets.key and secrets.lock in folder (created 0700), and
    // removes what an interrupted write left there.
    explicit FileSecretStore(QString folder);

    // Labels are not kept: the file is not browsed by anyone.
    SecretResult write(const QString &service, const QString &account, const QString &label,
                       const QByteArray &value) override;
    SecretResult read(const QString &service, const QString &account) override;
    SecretResult remove(const QString &service, const QString &account) override;
    SecretListing items(const QString &service) override;
    SecretResult relabel(const QString &, const QString &, const QString &) override { return {}; }
    SecretResult unlock() override { return {}; }
    bool keepsLabels() const override { return false; }

    QString sealedFilePath() const;
    QString keyFilePath() const;

private:
    void removeLeftovers();
    enum class KeyUse { Existing, CreateWhenNew };
    // Every secret as service -> account -> value; absent (*error set) when unreadable.
    std::optional<QCborMap> load(KeyUse use, QByteArray *key, QString *error);
    // Applies change under the lock and writes the result; change returns false when it
    // left nothing to write.
    SecretResult modify(const std::function<bool(QCborMap &)> &change);

    QString m_folder;
};
