// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/secrets/KeychainStore.h"

#include "model/Paths.h"
#include "model/Preferences.h"
#include "model/secrets/SecretBackendChoice.h"

#include <QStringDecoder>

namespace {

std::unique_ptr<KeychainStore> &sharedInstance()
{
    static std::unique_ptr<KeychainStore> instance;
    return instance;
}

} // namespace

KeychainStore::KeychainStore(std::unique_ptr<SecretBackend> backend, QString unavailableReason)
    : m_backend(std::move(backend))
    , m_unavailableReason(unavailableReason.isEmpty()
                              ? QStringLiteral("no secret store is available")
                              : std::move(unavailableReason))
{ }

KeychainStore &KeychainStore::shared()
{
    auto &instance = sharedInstance();
    if (!instance) {
        QString error;
        std::unique_ptr<SecretBackend> backend
            = SecretBackendChoice::create(Preferences::shared(), Paths::dataDir(), &error);
        instance = std::make_unique<KeychainStore>(std::move(backend), error);
    }
    return *instance;
}

void KeychainStore::setSharedBackend(std::unique_ptr<SecretBackend> backend)
{
    sharedInstance() = std::make_unique<KeychainStore>(std::move(backend));
}

QString KeychainStore::account(const QUuid &id)
{
    return id.toString(QUuid::WithoutBraces).toUpper();
}

bool KeychainStore::write(const QString &value, const QUuid &id)
{
    return m_backend && m_backend->write(service(), account(id), value.toUtf8());
}

std::optional<QString> KeychainStore::read(const QUuid &id)
{
    if (!m_backend)
        return std::nullopt;
    const std::optional<QByteArray> bytes = m_backend->read(service(), account(id));
    if (!bytes)
        return std::nullopt;
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder(*bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

bool KeychainStore::remove(const QUuid &id)
{
    return m_backend && m_backend->remove(service(), account(id));
}

QString KeychainStore::lastError() const
{
    return m_backend ? m_backend->lastError() : m_unavailableReason;
}
