// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/store/VaultTransfer.h"

#include "model/secrets/KeychainStore.h"
#include "model/store/DataController.h"

#include <QHash>
#include <QPointer>
#include <QSet>

#include <algorithm>
#include <memory>

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
    std::optional<QString> previous; // what to put back should the import fail
    bool isNew = false;
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
                plan.secretWrites.append({added.id, added.label, *added.inlineValue, {}, true});
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
                plan.secretWrites.append({next.id, next.label, *file.inlineValue, {}, false});
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

using Answers = std::function<void(const QList<SecretResult> &results)>;

// One secret-store call per item, all at once; then continues once every one has answered.
void forEach(qsizetype count, const std::function<void(qsizetype, KeychainStore::Done)> &call,
             Answers then)
{
    if (count == 0) {
        then({});
        return;
    }
    auto results = std::make_shared<QList<SecretResult>>(count);
    auto remaining = std::make_shared<qsizetype>(count);
    for (qsizetype i = 0; i < count; ++i)
        call(i, [results, remaining, i, then](const SecretResult &result) {
            (*results)[i] = result;
            if (--*remaining == 0)
                then(*results);
        });
}

// Puts back what the writes replaced: the previous value, or no item for a new entry.
void undo(KeychainStore &secrets, const QList<SecretWrite> &writes, QObject *context,
          std::function<void()> then)
{
    forEach(
        writes.size(),
        [&secrets, &writes, context](qsizetype i, KeychainStore::Done answer) {
            const SecretWrite &write = writes.at(i);
            if (write.previous)
                secrets.write(write.id, write.label, *write.previous, context, std::move(answer));
            else
                secrets.remove(write.id, context, std::move(answer));
        },
        [then](const QList<SecretResult> &) { then(); });
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

QString failureText(const SecretResult &result)
{
    switch (result.status) {
    case SecretResult::Status::Done:
        return {};
    case SecretResult::Status::Missing:
        return QStringLiteral("it is not in the secret store");
    case SecretResult::Status::Locked:
        return QStringLiteral("the secret store is locked");
    case SecretResult::Status::Unknown:
        return QStringLiteral("the secret store does not answer");
    case SecretResult::Status::Failed:
        break;
    }
    return result.error;
}

void collect(DataController &store, bool withSecrets, QObject *context, Collected done)
{
    VaultDocument::Contents contents;
    contents.withSecrets = withSecrets;
    for (const Binzo *binzo : store.binzos())
        contents.binzos.append({binzo->id(), binzo->name(), binzo->sfSymbol(), binzo->colorHex(),
                                binzo->sortIndex(), binzo->createdAt()});
    QList<qsizetype> secrets;
    for (const Entry *entry : store.entries()) {
        Entry::Fields fields = entry->fields();
        if (fields.isSensitive && withSecrets)
            secrets.append(contents.entries.size());
        contents.entries.append(fields);
    }
    auto collected = std::make_shared<VaultDocument::Contents>(std::move(contents));
    forEach(
        secrets.size(),
        [&](qsizetype i, KeychainStore::Done answer) {
            store.secrets().read(collected->entries.at(secrets.at(i)).id,
                                 KeychainStore::Purpose::Use, context, std::move(answer));
        },
        [collected, secrets, done](const QList<SecretResult> &results) {
            for (qsizetype i = 0; i < results.size(); ++i) {
                Entry::Fields &entry = collected->entries[secrets.at(i)];
                if (!results.at(i).done()) {
                    done(Failure {QStringLiteral("the secret of %1 cannot be read (%2)")
                                      .arg(quoted(entry.label), failureText(results.at(i)))});
                    return;
                }
                entry.inlineValue = QString::fromUtf8(results.at(i).value);
            }
            done(*collected);
        });
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

namespace {

// An import in flight: the plan, then its secrets, its records and the secrets it removes.
struct Merge : std::enable_shared_from_this<Merge>
{
    Merge(DataController &store, Keeper keeper, QObject *context, Merged done)
        : store(store)
        , keeper(keeper)
        , context(context)
        , done(std::move(done))
    { }

    DataController &store;
    Keeper keeper;
    QPointer<QObject> context;
    Merged done;
    Plan plan;
    Report report;

    void finish(const QString &error)
    {
        if (error.isEmpty())
            done(report);
        else
            done(Failure {error});
    }

    // What the import will replace is read first, so that it can be put back.
    void readPrevious()
    {
        auto self = shared_from_this();
        QList<qsizetype> replaced;
        for (qsizetype i = 0; i < plan.secretWrites.size(); ++i) {
            if (!plan.secretWrites.at(i).isNew)
                replaced.append(i);
        }
        forEach(
            replaced.size(),
            [&](qsizetype i, KeychainStore::Done answer) {
                store.secrets().read(plan.secretWrites.at(replaced.at(i)).id,
                                     KeychainStore::Purpose::Use, context, std::move(answer));
            },
            [self, replaced](const QList<SecretResult> &results) {
                for (qsizetype i = 0; i < results.size(); ++i) {
                    SecretWrite &write = self->plan.secretWrites[replaced.at(i)];
                    const SecretResult &result = results.at(i);
                    if (result.done())
                        write.previous = QString::fromUtf8(result.value);
                    else if (result.status != SecretResult::Status::Missing)
                        return self->finish(QStringLiteral("the secret of %1 cannot be read to "
                                                           "keep it safe (%2); nothing was "
                                                           "imported")
                                                .arg(quoted(write.label), failureText(result)));
                }
                self->writeSecrets();
            });
    }

    void writeSecrets()
    {
        auto self = shared_from_this();
        forEach(
            plan.secretWrites.size(),
            [&](qsizetype i, KeychainStore::Done answer) {
                const SecretWrite &write = plan.secretWrites.at(i);
                store.secrets().write(write.id, write.label, write.value, context,
                                      std::move(answer));
            },
            [self](const QList<SecretResult> &results) {
                QList<SecretWrite> written;
                QString refused;
                for (qsizetype i = 0; i < results.size(); ++i) {
                    if (results.at(i).done())
                        written.append(self->plan.secretWrites.at(i));
                    else if (refused.isEmpty())
                        refused = QStringLiteral("the secret of %1 could not be stored (%2); "
                                                 "nothing was imported")
                                      .arg(quoted(self->plan.secretWrites.at(i).label),
                                           failureText(results.at(i)));
                }
                if (refused.isEmpty())
                    return self->saveRecords();
                undo(self->store.secrets(), written, self->context,
                     [self, refused] { self->finish(refused); });
            });
    }

    void saveRecords()
    {
        for (Binzo *binzo : std::as_const(plan.replacedBinzos))
            store.removeEmptyBinzo(binzo);
        for (const BinzoRecord &record : std::as_const(plan.addedBinzos))
            store.insertBinzo(new Binzo(record.id, record.name, record.sfSymbol, record.colorHex,
                                        record.sortIndex, record.createdAt));
        for (const Entry::Fields &fields : std::as_const(plan.addedEntries))
            store.insertEntry(new Entry(fields));
        for (const auto &[entry, fields] : std::as_const(plan.updatedEntries))
            apply(*entry, fields);
        if (!store.save()) {
            const QString error
                = QStringLiteral("the store could not be saved (%1)").arg(store.saveError());
            if (keeper == Keeper::RunningApp)
                return finish(error + QStringLiteral("; the running Binzo keeps trying"));
            auto self = shared_from_this();
            return undo(store.secrets(), plan.secretWrites, context, [self, error] {
                self->finish(error + QStringLiteral("; nothing was imported"));
            });
        }
        // Values that became ordinary leave the secret store only now that they are saved.
        auto self = shared_from_this();
        forEach(
            plan.secretsToRemove.size(),
            [&](qsizetype i, KeychainStore::Done answer) {
                store.secrets().remove(plan.secretsToRemove.at(i), context, std::move(answer));
            },
            [self](const QList<SecretResult> &) { self->finish({}); });
    }
};

} // namespace

void merge(DataController &store, const VaultDocument::Contents &contents, Keeper keeper,
           QObject *context, Merged done)
{
    auto run = std::make_shared<Merge>(store, keeper, context, std::move(done));
    const QHash<QUuid, QUuid> homes = planBinzos(store, contents, run->plan, run->report);
    planEntries(contents, store.entries(), homes, run->plan, run->report);
    run->readPrevious();
}

} // namespace VaultTransfer
