// SPDX-License-Identifier: GPL-3.0-or-later
#include "appearance/SecretStoreSettings.h"

#include "model/store/DataController.h"
#include "model/secrets/KeychainStore.h"
#include "model/secrets/SecretBackendChoice.h"

SecretStoreSettings::SecretStoreSettings(DataController &data, KeychainStore &secrets,
                                         QObject *parent)
    : QObject(parent)
    , m_data(data)
    , m_secrets(secrets)
{
    connect(&secrets, &KeychainStore::storeNameChanged, this, &SecretStoreSettings::changed);
    // The store is chosen on first use; asking makes that use now.
    secrets.describe(this, {});
}

QString SecretStoreSettings::storeName() const
{
    return m_secrets.storeName();
}

QString SecretStoreSettings::location() const
{
    const QString title = SecretBackendChoice::title(storeName());
    return title.isEmpty() ? tr("Not chosen yet") : title;
}

QVariantList SecretStoreSettings::stores()
{
    QVariantList stores;
    for (const auto &[name, symbol] :
         {std::pair {SecretBackendChoice::kSecretService, QStringLiteral("key.fill")},
          std::pair {SecretBackendChoice::kFile, QStringLiteral("lock.shield")}}) {
        stores.append(QVariantMap {{QStringLiteral("name"), name},
                                   {QStringLiteral("label"), SecretBackendChoice::title(name)},
                                   {QStringLiteral("symbol"), symbol}});
    }
    return stores;
}

QString SecretStoreSettings::statusText() const
{
    return m_statusText.isEmpty() ? tr("Sensitive values are kept in: %1").arg(location())
                                  : m_statusText;
}

void SecretStoreSettings::moveTo(const QString &target)
{
    if (m_moving || target == storeName() || SecretBackendChoice::title(target).isEmpty())
        return;
    m_moving = true;
    const QList<KeychainStore::Item> items = m_data.secretItems();
    setStatus(tr("Moving the sensitive values\u2026"), false);
    m_secrets.migrate(
        target, items, this,
        [this](int copied, int total) {
            setStatus(tr("Copied %1 of %2\u2026").arg(copied).arg(total), false);
        },
        [this](const SecretResult &result) {
            m_moving = false;
            if (result.done())
                setStatus(QString(), false);
            else
                setStatus(tr("Nothing was moved: %1").arg(result.error), true);
        });
}

void SecretStoreSettings::setStatus(const QString &text, bool failed)
{
    m_statusText = text;
    m_failed = failed;
    emit changed();
}
