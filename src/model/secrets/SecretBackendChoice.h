// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/secrets/SecretBackend.h"

#include <QString>

#include <memory>
#include <optional>

class Preferences;

// Which store keeps the secrets, decided once per user and remembered under
// "binzo.secretBackend": "secret-service" when the desktop offers a working Secret Service
// at the first decision, "file" otherwise. A remembered store that later fails is not
// replaced by the other: its secrets would seem to vanish.
namespace SecretBackendChoice {

inline const QString kPreferenceKey = QStringLiteral("binzo.secretBackend");
inline const QString kSecretService = QStringLiteral("secret-service");
inline const QString kFile = QStringLiteral("file");

// The remembered store, or the first decision, remembered. A remembered name that is neither
// of the two (a hand-edited preference) is left as it is: the store is then chosen as at a
// first decision, without remembering it, and *error says why.
std::unique_ptr<SecretBackend> create(Preferences &preferences, const QString &dataFolder,
                                      QString *error);

// The remembered name when it is neither of the two known ones.
std::optional<QString> unknownChoice(const Preferences &preferences);

} // namespace SecretBackendChoice
