// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/secrets/FileSecretStore.h"

#include "model/Paths.h"
#include "model/secrets/PrivateFile.h"
#include "model/secrets/SealedBox.h"

#include <QCborValue>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr int kLockTimeoutMs = 2000;

} // namespace

FileSecretStore::FileSecretStore(QString folder)
    : m_folder(std::move(folder))
{
    removeLeftovers();
}

// A write killed midway leaves its temporary file: a full sealed copy that would keep
// secrets deleted later. Only under the lock, so another process's write in progress stays.
void FileSecretStore::removeLeftovers()
{
    const QDir folder(m_folder);
    const QStringList leftovers = folder.entryList({QStringLiteral("secrets.sealed.??????")},
                                                   QDir::Files | QDir::Hidden | QDir::System);
    if (leftovers.isEmpty())
        return;
    const PrivateFile::Lock lock(m_folder + QStringLiteral("/secrets.lock"), 0);
    if (!lock.isLocked())
        return;
    for (const QString &name : leftovers)
        QFile::remove(folder.filePath(name));
}

QString FileSecretStore::sealedFilePath() const
{
    return m_folder + QStringLiteral("/secrets.sealed");
}

QString FileSecretStore::keyFilePath() const
{
    return m_folder + QStringLiteral("/secrets.key");
}

SecretResult FileSecretStore::write(const QString &service, const QString &account, const QString &,
                                    const QByteArray &value)
{
    return modify([&](QCborMap &secrets) {
        QCborMap accounts = secrets.value(service).toMap();
        accounts.insert(account, value);
        secrets.insert(service, accounts);
        return true;
    });
}

SecretResult FileSecretStore::read(const QString &service, const QString &account)
{
    QByteArray key;
    QString error;
    const std::optional<QCborMap> secrets = load(KeyUse::Existing, &key, &error);
    SealedBox::wipe(key);
    if (!secrets)
        return SecretResult::failure(SecretResult::Status::Failed, error);
    const QCborValue value = secrets->value(service).toMap().value(account);
    if (!value.isByteArray())
        return SecretResult::failure(SecretResult::Status::Missing, {});
    return {SecretResult::Status::Done, value.toByteArray(), {}};
}

SecretResult FileSecretStore::remove(const QString &service, const QString &account)
{
    return modify([&](QCborMap &secrets) {
        QCborMap accounts = secrets.value(service).toMap();
        if (!accounts.contains(account))
            return false;
        accounts.remove(account);
        secrets.insert(service, accounts);
        return true;
    });
}

SecretListing FileSecretStore::items(const QString &service)
{
    QByteArray key;
    SecretListing listing;
    const std::optional<QCborMap> secrets = load(KeyUse::Existing, &key, &listing.error);
    SealedBox::wipe(key);
    if (!secrets) {
        listing.status = SecretResult::Status::Failed;
        return listing;
    }
    const QCborMap accounts = secrets->value(service).toMap();
    for (auto it = accounts.cbegin(); it != accounts.cend(); ++it)
        listing.items.insert(it.key().toString(), QString());
    return listing;
}

std::optional<QCborMap> FileSecretStore::load(KeyUse use, QByteArray *key, QString *error)
{
    bool sealedMissing = false;
    bool keyMissing = false;
    const std::optional<QByteArray> sealed
        = PrivateFile::read(sealedFilePath(), &sealedMissing, error);
    if (!sealed && !sealedMissing)
        return std::nullopt;
    std::optional<QByteArray> existingKey = PrivateFile::read(keyFilePath(), &keyMissing, error);
    if (!existingKey && !keyMissing)
        return std::nullopt;

    if (sealedMissing) {
        if (keyMissing && use == KeyUse::CreateWhenNew) {
            QByteArray fresh = SealedBox::newKey();
            bool taken = false;
            if (PrivateFile::createOnce(keyFilePath(), fresh, &taken, error))
                existingKey = fresh;
            else if (taken) // another process made it first: use theirs
                existingKey = PrivateFile::read(keyFilePath(), &keyMissing, error);
            SealedBox::wipe(fresh);
            if (!existingKey)
                return std::nullopt;
        }
        if (existingKey && existingKey->size() != SealedBox::kKeySize) {
            *error = QStringLiteral("the key file %1 is damaged").arg(keyFilePath());
            return std::nullopt;
        }
        *key = existingKey.value_or(QByteArray());
        return QCborMap();
    }
    if (keyMissing) {
        // A new key could never open the existing secrets.
        *error = QStringLiteral("the key file %1 is missing").arg(keyFilePath());
        return std::nullopt;
    }
    *key = *existingKey;
    std::optional<QByteArray> plaintext = SealedBox::open(*sealed, *key);
    if (!plaintext) {
        *error = QStringLiteral("%1 cannot be decrypted: it was changed or the key in %2 "
                                "does not belong to it")
                     .arg(sealedFilePath(), keyFilePath());
        return std::nullopt;
    }
    const QCborValue contents = QCborValue::fromCbor(*plaintext);
    SealedBox::wipe(*plaintext);
    if (!contents.isMap()) {
        *error = QStringLiteral("%1 holds no secrets table").arg(sealedFilePath());
        return std::nullopt;
    }
    return contents.toMap();
}

SecretResult FileSecretStore::modify(const std::function<bool(QCborMap &)> &change)
{
    const auto failed = [](QString error) {
        return SecretResult::failure(SecretResult::Status::Failed, std::move(error));
    };
    if (!QFileInfo::exists(m_folder) && !Paths::ensurePrivateDir(m_folder))
        return failed(QStringLiteral("cannot create the folder %1").arg(m_folder));
    const PrivateFile::Lock lock(m_folder + QStringLiteral("/secrets.lock"), kLockTimeoutMs);
    if (!lock.isLocked())
        return failed(QStringLiteral("the secret file is locked by another process"));
    QByteArray key;
    QString error;
    std::optional<QCborMap> secrets = load(KeyUse::CreateWhenNew, &key, &error);
    if (!secrets)
        return failed(error);
    bool ok = true;
    if (change(*secrets)) {
        QByteArray plaintext = secrets->toCborValue().toCbor();
        const Result<void> written
            = PrivateFile::replace(sealedFilePath(), SealedBox::seal(plaintext, key));
        ok = written.ok();
        error = written.error();
        SealedBox::wipe(plaintext);
    }
    SealedBox::wipe(key);
    return ok ? SecretResult() : failed(error);
}
