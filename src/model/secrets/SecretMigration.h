// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/secrets/SecretBackend.h"

#include <QList>
#include <QString>
#include <QUuid>

#include <functional>

class SecretJournal;
class SecretStores;

// Moves every given secret from the store in use to the store named target: writes each
// there, reads it back and compares, then makes target the store in use, then removes the
// old copies. It stops at the first failure with every secret still in the old store and
// no copy left in the new one. Copies and old copies are noted in the journal before they
// exist, so a move cut short by the end of the process is cleaned up at the next start,
// whichever side of the switch it ended on. Runs on the secret store's thread.
namespace SecretMigration {

struct Item
{
    QUuid id;
    QString entryLabel;
};

// copied hears of each secret handled (moved, or found missing and skipped).
SecretResult run(SecretStores &stores, SecretJournal &journal, const QString &target,
                 const QList<Item> &items, const std::function<void(int copied)> &copied);

} // namespace SecretMigration
