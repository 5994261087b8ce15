// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/secrets/SecretStores.h"

#include <QString>

#include <memory>
#include <optional>

class Preferences;

// Which store keeps the secrets: the user's choice, remembered under "binzo.secretBackend" as
// "secret-service" or "file". Without a usable remembered choice, a store that already holds
// secrets is kept (the file when secrets.sealed holds any, else the keyring); otherwise the
// keyring when the desktop offers one, the file for this run when it offers none (so a keyring
// missing today is not given up for good). A keyring that does not answer in time decides
// nothing: the next use asks again. The choice is never made again
// on its own once made; the user changes it by moving the secrets (KeychainStore::migrate).
class SecretBackendChoice : public SecretStores
{
public:
    static inline const QString kPreferenceKey = QStringLiteral("binzo.secretBackend");
    static inline const QString kSecretService = QStringLiteral("secret-service");
    static inline const QString kFile = QStringLiteral("file");

    // service: whose items count as secrets already kept.
    SecretBackendChoice(Preferences &preferences, QString dataFolder, QString service,
                        int probeTimeoutMs = 1500);
    ~SecretBackendChoice() override;

    SecretBackend *current(QString *name, SecretResult *why) override;
    SecretBackend *byName(const QString &name) override;
    bool choose(const QString &name, QString *error) override;

    // What the user is shown for each store.
    static QString title(const QString &name);
    // The remembered name when it is neither of the two (a hand-edited preference): it is
    // left for the user to correct, and the store is chosen meanwhile as without one.
    static std::optional<QString> unknownChoice(const Preferences &preferences);

private:
    // The store to use without a remembered choice; empty while the keyring does not answer.
    // *certain is false when the choice is for this run only.
    QString detect(bool *certain, SecretResult *why);

    Preferences &m_preferences;
    QString m_folder;
    QString m_service;
    int m_probeTimeoutMs;
    QString m_current;
    std::unique_ptr<SecretBackend> m_secretService;
    std::unique_ptr<SecretBackend> m_file;
};
