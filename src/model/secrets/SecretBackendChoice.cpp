// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/secrets/SecretBackendChoice.h"

#include "model/Logging.h"
#include "model/Preferences.h"
#include "model/secrets/FileSecretStore.h"
#include "model/secrets/SecretServiceStore.h"

#include <QFileInfo>
#include <QJsonValue>

SecretBackendChoice::SecretBackendChoice(Preferences &preferences, QString dataFolder,
                                         QString service, int probeTimeoutMs)
    : m_preferences(preferences)
    , m_folder(std::move(dataFolder))
    , m_service(std::move(service))
    , m_probeTimeoutMs(probeTimeoutMs)
{ }

SecretBackendChoice::~SecretBackendChoice() = default;

QString SecretBackendChoice::title(const QString &name)
{
    if (name == kSecretService)
        return QStringLiteral("System keyring");
    if (name == kFile)
        return QStringLiteral("Encrypted file on this computer");
    return QString();
}

std::optional<QString> SecretBackendChoice::unknownChoice(const Preferences &preferences)
{
    const QJsonValue stored = preferences.value(kPreferenceKey);
    if (stored.isUndefined() || stored == QJsonValue(kSecretService) || stored == QJsonValue(kFile))
        return std::nullopt;
    return stored.toVariant().toString();
}

SecretBackend *SecretBackendChoice::byName(const QString &name)
{
    if (name == kSecretService) {
        if (!m_secretService)
            m_secretService = std::make_unique<SecretServiceStore>();
        return m_secretService.get();
    }
    if (name == kFile) {
        if (!m_file)
            m_file = std::make_unique<FileSecretStore>(m_folder);
        return m_file.get();
    }
    return nullptr;
}

SecretBackend *SecretBackendChoice::current(QString *name, SecretResult *why)
{
    if (m_current.isEmpty()) {
        const std::optional<QString> remembered = m_preferences.string(kPreferenceKey);
        if (remembered && byName(*remembered)) {
            m_current = *remembered;
        } else {
            bool certain = false;
            const QString detected = detect(&certain, why);
            if (detected.isEmpty())
                return nullptr;
            // A name the user wrote stays for the user to correct.
            if (certain && !unknownChoice(m_preferences))
                m_preferences.setString(kPreferenceKey, detected);
            m_current = detected;
        }
    }
    *name = m_current;
    return byName(m_current);
}

bool SecretBackendChoice::choose(const QString &name, QString *error)
{
    if (!byName(name)) {
        *error = QStringLiteral("there is no secret store \"%1\"").arg(name);
        return false;
    }
    if (!m_preferences.setString(kPreferenceKey, name)) {
        *error = QStringLiteral("could not write the preferences file %1")
                     .arg(m_preferences.filePath());
        return false;
    }
    m_current = name;
    return true;
}

QString SecretBackendChoice::detect(bool *certain, SecretResult *why)
{
    *certain = true;
    // Secrets already kept decide, whatever the desktop offers now: choosing the other store
    // would make them seem to vanish.
    auto &file = static_cast<FileSecretStore &>(*byName(kFile));
    if (QFileInfo::exists(file.sealedFilePath())) {
        const SecretListing kept = file.items(m_service);
        if (kept.status != SecretResult::Status::Done || !kept.items.isEmpty())
            return kFile;
    }
    QString reason;
    switch (SecretServiceStore::probe(m_probeTimeoutMs, &reason)) {
    case SecretServiceStore::Presence::Available:
        return kSecretService;
    case SecretServiceStore::Presence::Absent:
        qCWarning(lcModel,
                  "no usable Secret Service (%s); sensitive values are kept encrypted in %s",
                  qPrintable(reason), qPrintable(m_folder));
        // Not remembered: a keyring that is only missing today may hold secrets of ours.
        *certain = false;
        return kFile;
    case SecretServiceStore::Presence::NoAnswer:
        break;
    }
    *why = SecretResult::failure(SecretResult::Status::Unknown,
                                 QStringLiteral("the system keyring does not answer yet"));
    return QString();
}
