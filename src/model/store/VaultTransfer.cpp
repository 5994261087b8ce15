// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/store/VaultTransfer.h"

#include "model/secrets/KeychainStore.h"
#include "model/store/DataController.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace {

using VaultDocument::BinzoRecord;

QString quoted(const QString &text)
{
    return u'\u201C' + text + u'\u201D';
}

bool isNewer(const QDateTime &candidate, const QDateTime &current)
{
    return candidate.isValid() && (!current.isValid() || candidate > current);
}

QDateTime later(const QDateTime &a, const QDateTime &b)
{
    return isNewer(a, b) ? a : b;
}

QString counted(int count, const char *one, const char *many)
{
    return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? one : many));
}

struct SecretWrite
{
    QUuid id;
    QString label;
    QString value;
    std::optional<QString> previous;
};

struct Plan
{
    QList<Binzo *> replacedBinzos;
    QList<BinzoRecord> addedBinzos;
    QList<Entry::Fields> addedEntries;
    QList<std::pair<Entry *, Entry::Fields>> updatedEntries;
    QList<SecretWrite> secretWrites;
    // Entries that become ordinary: their secret goes once the record is saved.
    QList<QUuid> secretsToRemove;
};

// File binzo id -> the store binzo that takes its entries; decides which binzos are added.
QHash<QUuid, QUuid> planBinzos(DataController &store, const VaultDocument::Contents &contents,
                               Plan &plan, VaultTransfer::Report &report)
{
    // Nothing in a new store is the user's yet: its starting binzos give way to the file's.
    if (!contents.binzos.isEmpty() && store.holdsOnlyStartingBinzos())
        plan.replacedBinzos = store.binzos();
    QHash<QUuid, QUuid> homes;
    for (const BinzoRecord &record : contents.binzos) {
        Binzo *same = store.binzo(record.id) ? store.binzo(record.id) : store.binzo(record.name);
        if (same && !plan.replacedBinzos.contains(same)) {
            homes.insert(record.id, same->id());
            ++report.binzosKept;
            continue;
        }
        plan.addedBinzos.append(record);
        ++report.binzosAdded;
    }
    // An added binzo keeps its place unless a binzo that stays holds it; then it goes last.
    QSet<qint64> taken;
    for (const Binzo *binzo : store.binzos()) {
        if (!plan.replacedBinzos.contains(binzo))
            taken.insert(binzo->sortIndex());
    }
    for (BinzoRecord &record : plan.addedBinzos) {
        if (taken.contains(record.sortIndex))
            record.sortIndex = *std::max_element(taken.cbegin(), taken.cend()) + 1;
        taken.insert(record.sortIndex);
    }
    return homes;
}

void planEntries(const VaultDocument::Contents &contents, const QList<Entry *> &stored,
                 const QHash<QUuid, QUuid> &homes, Plan &plan, VaultTransfer::Report &report)
{
    QHash<QUuid, Entry *> byId;
    for (Entry *entry : stored)
        byId.insert(entry->id(), entry);
    for (const Entry::Fields &file : contents.entries) {
        const QUuid home = homes.value(file.binzoID, file.binzoID);
        Entry *existing = byId.value(file.id);
        if (!existing) {
            if (file.isSensitive && !file.inlineValue) {
                ++report.entriesWithoutValue;
                continue;
            }
            Entry::Fields added = file;
            added.binzoID = home;
            if (added.isSensitive) {
                plan.secretWrites.append({added.id, added.label, *added.inlineValue, {}});
                added.inlineValue.reset();
            }
            plan.addedEntries.append(added);
            ++report.entriesAdded;
            continue;
        }
        Entry::Fields next = existing->fields();
        next.useCount = std::max(next.useCount, file.useCount);
        next.lastUsedAt = later(file.lastUsedAt, next.lastUsedAt);
        // A sensitive entry without its value cannot turn an ordinary one sensitive.
        const bool canTakeContent = !file.isSensitive || file.inlineValue || next.isSensitive;
        if (isNewer(file.updatedAt, next.updatedAt) && canTakeContent) {
            next.label = file.label;
            next.binzoID = home;
            next.updatedAt = file.updatedAt;
            if (!file.isSensitive) {
                next.inlineValue = file.inlineValue;
                if (next.isSensitive)
                    plan.secretsToRemove.append(next.id);
            } else if (file.inlineValue) {
                const std::optional<QString> current
                    = next.isSensitive ? KeychainStore::shared().read(next.id) : std::nullopt;
                if (current != file.inlineValue)
                    plan.secretWrites.append({next.id, next.label, *file.inlineValue, current});
                next.inlineValue.reset();
            }
            next.isSensitive = file.isSensitive;
        }
        if (next == existing->fields()) {
            ++report.entriesUnchanged;
        } else {
            plan.updatedEntries.append({existing, next});
            ++report.entriesUpdated;
        }
    }
}

void undo(const QList<SecretWrite> &writes)
{
    for (const SecretWrite &write : writes) {
        if (write.previous)
            KeychainStore::shared().write(*write.previous, write.id);
        else
            KeychainStore::shared().remove(write.id);
    }
}

void apply(Entry &entry, const Entry::Fields &fields)
{
    entry.setLabel(fields.label);
    entry.setBinzoID(fields.binzoID);
    entry.setIsSensitive(fields.isSensitive);
    entry.setInlineValue(fields.inlineValue);
    entry.setUpdatedAt(fields.updatedAt);
    entry.setLastUsedAt(fields.lastUsedAt);
    entry.setUseCount(fields.useCount);
}

} // namespace

namespace VaultTransfer {

std::optional<VaultDocument::Contents> collect(DataController &store, bool withSecrets,
                                               QString *error)
{
    VaultDocument::Contents contents;
    contents.withSecrets = withSecrets;
    for (const Binzo *binzo : store.binzos())
        contents.binzos.append({binzo->id(), binzo->name(), binzo->sfSymbol(), binzo->colorHex(),
                                binzo->sortIndex(), binzo->createdAt()});
    for (const Entry *entry : store.entries()) {
        Entry::Fields fields = entry->fields();
        if (fields.isSensitive) {
            fields.inlineValue
                = withSecrets ? KeychainStore::shared().read(fields.id) : std::nullopt;
            if (withSecrets && !fields.inlineValue) {
                const QString why = KeychainStore::shared().lastError();
                *error = QStringLiteral("the secret of %1 cannot be read%2")
                             .arg(quoted(fields.label),
                                  why.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(why));
                return std::nullopt;
            }
        }
        contents.entries.append(fields);
    }
    return contents;
}

QString Report::summary() const
{
    QStringList parts;
    parts << QStringLiteral("added %1 and %2")
                 .arg(counted(binzosAdded, "binzo", "binzos"),
                      counted(entriesAdded, "entry", "entries"));
    parts << QStringLiteral("updated %1").arg(counted(entriesUpdated, "entry", "entries"));
    parts << QStringLiteral("skipped %1 already here and %2 unchanged or newer here")
                 .arg(counted(binzosKept, "binzo", "binzos"),
                      counted(entriesUnchanged, "entry", "entries"));
    if (entriesWithoutValue > 0)
        parts << QStringLiteral("skipped %1 without a value (the file was exported without "
                                "secrets)")
                     .arg(counted(entriesWithoutValue, "sensitive entry", "sensitive entries"));
    return QStringLiteral("Imported: ") + parts.join(QStringLiteral("; ")) + u'.';
}

Result merge(DataController &store, const VaultDocument::Contents &contents)
{
    Result result;
    Plan plan;
    const QHash<QUuid, QUuid> homes = planBinzos(store, contents, plan, result.report);
    planEntries(contents, store.entries(), homes, plan, result.report);

    QList<SecretWrite> written;
    for (const SecretWrite &write : std::as_const(plan.secretWrites)) {
        if (!KeychainStore::shared().write(write.value, write.id)) {
            result.error = QStringLiteral("the secret of %1 could not be stored (%2); nothing "
                                          "was imported")
                               .arg(quoted(write.label), KeychainStore::shared().lastError());
            undo(written);
            return result;
        }
        written.append(write);
    }
    result.undoSecrets = [written] { undo(written); };

    for (Binzo *binzo : std::as_const(plan.replacedBinzos))
        store.removeEmptyBinzo(binzo);
    for (const BinzoRecord &record : std::as_const(plan.addedBinzos))
        store.insertBinzo(new Binzo(record.id, record.name, record.sfSymbol, record.colorHex,
                                    record.sortIndex, record.createdAt));
    for (const Entry::Fields &fields : std::as_const(plan.addedEntries))
        store.insertEntry(new Entry(fields));
    for (const auto &[entry, fields] : std::as_const(plan.updatedEntries))
        apply(*entry, fields);

    result.ok = store.save();
    if (!result.ok) {
        result.error = QStringLiteral("the store could not be saved (%1)").arg(store.saveError());
        return result;
    }
    for (const QUuid &id : std::as_const(plan.secretsToRemove))
        KeychainStore::shared().remove(id);
    return result;
}

} // namespace VaultTransfer
