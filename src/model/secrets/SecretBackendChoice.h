// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/secrets/SecretBackend.h"

#include <QString>

#include <memory>

class Preferences;

// Which store keeps the secrets, decided once per user and remembered under
// "binzo.secretBackend": "secret-service" when the desktop offers a working Secret Service
// at the first decision, "file" otherwise. A remembered store that later fails is not
// replaced by the other: its secrets would seem to vanish.
namespace SecretBackendChoice {

inline const QString kPreferenceKey = QStringLiteral("binzo.secretBackend");
inline const QString kSecretService = QStringLiteral("secret-service");
inline const QString kFile = QStringLiteral("file");

// Null when the remembered name is unknown; *error says why.
std::unique_ptr<SecretBackend> create(Preferences &preferences, const QString &dataFolder,
                                      QString *error);

} // namespace SecretBackendChoice
