// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Result.h"
#include "model/secrets/SecretBackend.h"
#include "model/store/VaultDocument.h"

#include <QString>

#include <functional>
#include <optional>

class DataController;
class QObject;

// Export and import of a whole store through VaultDocument. Secrets come and go through the
// secret store's own thread: each operation answers once, on this thread, through done
// (dropped when context is gone).
namespace VaultTransfer {

// Why a secret-store call did not do what was asked, for a message (empty when it did).
QString failureText(const SecretResult &result);

// Every binzo and entry; with secrets, each sensitive value read from the secret store.
// A Failure, naming the entry, when a secret cannot be read: a backup must not lack one
// silently.
using Collected = std::function<void(const ::Result<VaultDocument::Contents> &collected)>;
void collect(DataController &store, bool withSecrets, QObject *context, Collected done);

struct Report
{
    int binzosAdded = 0;
    // Already in the store (the same id, or the same name): kept as they are, and the file's
    // entries filed into them.
    int binzosKept = 0;
    int entriesAdded = 0;
    int entriesUpdated = 0;
    // Already in the store and not older there, or identical.
    int entriesUnchanged = 0;
    // Sensitive entries new to the store, in a file exported without secrets.
    int entriesWithoutValue = 0;

    QString summary() const;
};

// How long the records of a failed import live: the running Binzo keeps them and retries
// their save; a command's own store dies with it, so the secrets it wrote are put back.
enum class Keeper { RunningApp, ThisCommand };

// Merges by id and never duplicates: a known entry takes the file's content when the file's
// is newer (its use count and last use whichever is greater); a binzo whose id is unknown
// takes the place of one with the same name. A new store (only its untouched starting
// binzos, no entries) takes the file's binzos instead, so an export imported into an empty
// store gives the same store. Secrets are written first (new ones noted, so a crash leaves
// none behind) and put back if one is refused; the records are then saved in one transaction.
using Merged = std::function<void(const ::Result<Report> &merged)>;
void merge(DataController &store, const VaultDocument::Contents &contents, Keeper keeper,
           QObject *context, Merged done);

} // namespace VaultTransfer
