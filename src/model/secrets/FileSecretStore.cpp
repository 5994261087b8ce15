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

bool FileSecretStore::write(const QString &service, const QString &account, const QByteArray &value)
{
    return modify([&](QCborMap &secrets) {
        QCborMap accounts = secrets.value(service).toMap();
        accounts.insert(account, value);
        secrets.insert(service, accounts);
        return true;
    });
}

std::optional<QByteArray> FileSecretStore::read(const QString &service, const QString &account)
{
    QByteArray key;
    const std::optional<QCborMap> secrets = load(KeyUse::Existing, &key);
    SealedBox::wipe(key);
    if (!secrets)
        return std::nullopt;
    m_lastError.clear();
    const QCborValue value = secrets->value(service).toMap().value(account);
    if (!value.isByteArray())
        return std::nullopt;
    return value.toByteArray();
}

bool FileSecretStore::remove(const QString &service, const QString &account)
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

std::optional<QCborMap> FileSecretStore::load(KeyUse use, QByteArray *key)
{
    bool sealedMissing = false;
    bool keyMissing = false;
    const std::optional<QByteArray> sealed
        = PrivateFile::read(sealedFilePath(), &sealedMissing, &m_lastError);
    if (!sealed && !sealedMissing)
        return std::nullopt;
    std::optional<QByteArray> existingKey
        = PrivateFile::read(keyFilePath(), &keyMissing, &m_lastError);
    if (!existingKey && !keyMissing)
        return std::nullopt;

    if (sealedMissing) {
        if (keyMissing && use == KeyUse::CreateWhenNew) {
            QByteArray fresh = SealedBox::newKey();
            bool taken = false;
            if (PrivateFile::createOnce(keyFilePath(), fresh, &taken, &m_lastError))
                existingKey = fresh;
            else if (taken) // another process made it first: use theirs
                existingKey = PrivateFile::read(keyFilePath(), &keyMissing, &m_lastError);
            SealedBox::wipe(fresh);
            if (!existingKey)
                return std::nullopt;
        }
        if (existingKey && existingKey->size() != SealedBox::kKeySize) {
            m_lastError = QStringLiteral("the key file %1 is damaged").arg(keyFilePath());
            return std::nullopt;
        }
        *key = existingKey.value_or(QByteArray());
        return QCborMap();
    }
    if (keyMissing) {
        // A new key could never open the existing secrets.
        m_lastError = QStringLiteral("the key file %1 is missing").arg(keyFilePath());
        return std::nullopt;
    }
    *key = *existingKey;
    std::optional<QByteArray> plaintext = SealedBox::open(*sealed, *key);
    if (!plaintext) {
        m_lastError = QStringLiteral("%1 cannot be decrypted: it was changed or the key in %2 "
                                     "does not belong to it")
                          .arg(sealedFilePath(), keyFilePath());
        return std::nullopt;
    }
    const QCborValue contents = QCborValue::fromCbor(*plaintext);
    SealedBox::wipe(*plaintext);
    if (!contents.isMap()) {
        m_lastError = QStringLiteral("%1 holds no secrets table").arg(sealedFilePath());
        return std::nullopt;
    }
    return contents.toMap();
}

bool FileSecretStore::modify(const std::function<bool(QCborMap &)> &change)
{
    if (!QFileInfo::exists(m_folder) && !Paths::ensurePrivateDir(m_folder)) {
        m_lastError = QStringLiteral("cannot create the folder %1").arg(m_folder);
        return false;
    }
    const PrivateFile::Lock lock(m_folder + QStringLiteral("/secrets.lock"), kLockTimeoutMs);
    if (!lock.isLocked()) {
        m_lastError = QStringLiteral("the secret file is locked by another process");
        return false;
    }
    QByteArray key;
    std::optional<QCborMap> secrets = load(KeyUse::CreateWhenNew, &key);
    if (!secrets)
        return false;
    m_lastError.clear();
    bool ok = true;
    if (change(*secrets)) {
        QByteArray plaintext = secrets->toCborValue().toCbor();
        ok = PrivateFile::replace(sealedFilePath(), SealedBox::seal(plaintext, key), &m_lastError);
        SealedBox::wipe(plaintext);
    }
    SealedBox::wipe(key);
    return ok;
}
