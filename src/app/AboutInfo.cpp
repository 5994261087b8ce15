// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AboutInfo.h"

#include "model/Paths.h"
#include "model/Preferences.h"
#include "model/secrets/FileSecretStore.h"
#include "model/secrets/KeychainStore.h"
#include "model/secrets/SecretBackendChoice.h"
#include "model/store/DataController.h"

namespace {

QString secretsPlace(const Preferences &preferences)
{
    const std::optional<QString> choice = preferences.string(SecretBackendChoice::kPreferenceKey);
    if (choice == SecretBackendChoice::kSecretService)
        return QStringLiteral("The system keyring (Secret Service), service ")
            + KeychainStore::service();
    if (choice == SecretBackendChoice::kFile) {
        const FileSecretStore files(Paths::dataDir());
        return QStringLiteral("An encrypted file, %1, with its key in %2")
            .arg(files.sealedFilePath(), files.keyFilePath());
    }
    return QStringLiteral("Not chosen yet: the system keyring when one answers at the first "
                          "sensitive value, else an encrypted file in the data folder");
}

} // namespace

namespace AboutInfo {

QString versionText()
{
    return QStringLiteral("Version " BINZO_VERSION);
}

QList<Location> locations(const Preferences &preferences, const QString &modelPath)
{
    return {
        {QStringLiteral("Data folder"), Paths::dataDir()},
        {QStringLiteral("Database"), DataController::defaultDatabasePath()},
        {QStringLiteral("Sensitive values"), secretsPlace(preferences)},
        {QStringLiteral("Smart-find model"),
         modelPath.isEmpty() ? QStringLiteral("None found: search matches label text only")
                             : modelPath},
        {QStringLiteral("Preferences"), preferences.filePath()},
    };
}

} // namespace AboutInfo
