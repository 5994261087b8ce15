// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/secrets/SecretBackendChoice.h"

#include "model/Preferences.h"
#include "model/secrets/FileSecretStore.h"
#include "model/secrets/SecretServiceStore.h"

#include <QJsonValue>

#include <cstdio>

namespace {

// A start-up path: a desktop whose keyring does not answer in this time gets the file.
constexpr int kProbeTimeoutMs = 1500;

} // namespace

namespace SecretBackendChoice {

std::optional<QString> unknownChoice(const Preferences &preferences)
{
    const QJsonValue stored = preferences.value(kPreferenceKey);
    if (stored.isUndefined() || stored == QJsonValue(kSecretService) || stored == QJsonValue(kFile))
        return std::nullopt;
    return stored.toVariant().toString();
}

std::unique_ptr<SecretBackend> create(Preferences &preferences, const QString &dataFolder,
                                      QString *error)
{
    std::optional<QString> choice = preferences.string(kPreferenceKey);
    const std::optional<QString> unknown = unknownChoice(preferences);
    if (unknown) {
        *error = QStringLiteral("unknown secret store \"%1\" in the preference %2")
                     .arg(*unknown, kPreferenceKey);
        choice.reset();
    }
    if (!choice) {
        QString why;
        choice = SecretServiceStore::isAvailable(kProbeTimeoutMs, &why) ? kSecretService : kFile;
        // A name the user wrote stays for the user to correct.
        if (!unknown)
            preferences.setString(kPreferenceKey, *choice);
        if (*choice == kFile)
            std::fprintf(stderr,
                         "Binzo: no usable Secret Service (%s); sensitive values are kept "
                         "encrypted in %s\n",
                         qPrintable(why), qPrintable(dataFolder));
    }
    if (*choice == kSecretService)
        return std::make_unique<SecretServiceStore>();
    return std::make_unique<FileSecretStore>(dataFolder);
}

} // namespace SecretBackendChoice
