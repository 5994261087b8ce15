// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/store/VaultDocument.h"

#include <QString>

#include <functional>
#include <optional>

class DataController;

// Export and import of a whole store through VaultDocument.
namespace VaultTransfer {

// Every binzo and entry; with secrets, each sensitive value read from the secret store.
// Absent, naming the entry, when a secret cannot be read: a backup must not lack one silently.
std::optional<VaultDocument::Contents> collect(DataController &store, bool withSecrets,
                                               QString *error);

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

struct Result
{
    bool ok = false;
    QString error;
    Report report;
    // Puts the secret store back as it was; for a caller whose unsaved records die with it.
    std::function<void()> undoSecrets;
};

// Merges by id and never duplicates: a known entry takes the file's content when the file's
// is newer (its use count and last use whichever is greater); a binzo whose id is unknown
// takes the place of one with the same name. A new store (only its untouched starting
// binzos, no entries) takes the file's binzos instead, so an export imported into an empty
// store gives the same store. Secrets are written first and undone if one fails; records are
// saved in one transaction.
Result merge(DataController &store, const VaultDocument::Contents &contents);

} // namespace VaultTransfer
