// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/store/DataController.h"

#include "model/EventLoopScheduler.h"
#include "model/Logging.h"
#include "model/Paths.h"
#include "model/records/BinzoListModel.h"
#include "model/secrets/KeychainStore.h"
#include "model/store/RecordTables.h"
#include "model/store/SqliteDatabase.h"
#include "model/store/StoreFile.h"

#include <QCollator>
#include <QPointer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

struct InitialBinzo
{
    const char *name;
    const char *symbol;
    const char *colorHex;
};

const InitialBinzo kInitialBinzos[] = {
    {"Personal", "person.crop.circle", "6385F4"},
    {"API Keys", "key.fill", "5FC98A"},
    {"Bank", "creditcard.fill", "5FA8F4"},
};

// Retries wait 0.25 s, doubling up to 5 s. Another program's lock ends on its own and a
// retry that meets it costs a fraction of a millisecond, so then the wait stops growing at
// 2 s: the change reaches the disk within 2 s of the lock's end.
constexpr std::chrono::milliseconds kFirstRetryDelay {250};
constexpr std::chrono::milliseconds kLongestRetryDelay {5000};
constexpr std::chrono::milliseconds kLongestRetryDelayWhileLocked {2000};

} // namespace

DataController::DataController(std::unique_ptr<SqliteDatabase> database, KeychainStore &secrets,
                               TimerScheduler *timers, const Clock &clock)
    : m_database(std::move(database))
    , m_secrets(secrets)
    , m_clock(clock)
    , m_tables(std::make_unique<RecordTables>(*m_database))
    , m_ownTimers(timers ? nullptr : std::make_unique<EventLoopScheduler>())
    , m_timers(timers ? timers : m_ownTimers.get())
    , m_retryDelay(kFirstRetryDelay)
{ }

DataController::~DataController() = default;

Result<std::unique_ptr<DataController>> DataController::open(const QString &databasePath,
                                                             KeychainStore &secrets,
                                                             TimerScheduler *timers,
                                                             const Clock &clock)
{
    Result<std::unique_ptr<SqliteDatabase>> database = StoreFile::open(databasePath);
    if (!database)
        return database.failure();
    std::unique_ptr<DataController> controller(
        new DataController(std::move(*database), secrets, timers, clock));
    if (const Result<void> loaded = controller->load(); !loaded)
        return loaded.failure();
    controller->seedIfEmpty();
    controller->reconcileSecrets();
    return controller;
}

QString DataController::defaultDatabasePath()
{
    return Paths::dataDir() + QStringLiteral("/binzo.sqlite3");
}

DataController &DataController::shared()
{
    // Never released: records handed out stay valid until the process ends.
    static DataController *const instance = [] {
        Result<std::unique_ptr<DataController>> opened
            = open(defaultDatabasePath(), KeychainStore::shared());
        if (!opened) {
            std::fprintf(stderr, "Failed to create ModelContainer: %s\n",
                         qPrintable(opened.error()));
            std::exit(EXIT_FAILURE);
        }
        return opened->release();
    }();
    return *instance;
}

Result<void> DataController::load()
{
    std::optional<QList<Binzo *>> binzos = m_tables->loadBinzos(this);
    std::optional<QList<Entry *>> entries = m_tables->loadEntries(this);
    if (!binzos || !entries)
        return Failure {m_database->lastError()};
    for (Binzo *binzo : *binzos)
        adopt(binzo);
    for (Entry *entry : *entries)
        adopt(entry);
    return {};
}

void DataController::seedIfEmpty()
{
    if (!m_binzos.isEmpty())
        return;
    for (const InitialBinzo &initial : kInitialBinzos) {
        auto *binzo
            = new Binzo(QString::fromUtf8(initial.name), QString::fromUtf8(initial.symbol),
                        QString::fromUtf8(initial.colorHex), m_binzos.size(), m_clock.now(), this);
        adopt(binzo);
        m_dirtyBinzos.insert(binzo);
    }
    emit binzosChanged();
    save();
}

void DataController::adopt(Binzo *binzo)
{
    m_binzos.append(binzo);
    connect(binzo, &Binzo::changed, this, [this, binzo] {
        m_dirtyBinzos.insert(binzo);
        if (!m_holdBinzosChanged)
            emit binzosChanged();
    });
}

void DataController::adopt(Entry *entry)
{
    m_entries.append(entry);
    connect(entry, &Entry::changed, this, [this, entry] {
        m_dirtyEntries.insert(entry);
        emit entriesChanged();
    });
}

Binzo *DataController::binzo(const QString &named) const
{
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    const auto match = std::find_if(m_binzos.cbegin(), m_binzos.cend(), [&](const Binzo *binzo) {
        return collator.compare(binzo->name(), named) == 0;
    });
    return match == m_binzos.cend() ? nullptr : *match;
}

Binzo *DataController::binzo(const QUuid &id) const
{
    const auto match = std::find_if(m_binzos.cbegin(), m_binzos.cend(),
                                    [&](const Binzo *binzo) { return binzo->id() == id; });
    return match == m_binzos.cend() ? nullptr : *match;
}

Binzo *DataController::addBinzo(const QString &name, const QString &symbol, const QString &colorHex)
{
    // The count, not the largest index: a gap left by a removed compartment is not filled.
    auto *binzo = new Binzo(name, symbol, colorHex, m_binzos.size(), m_clock.now(), this);
    adopt(binzo);
    m_dirtyBinzos.insert(binzo);
    emit binzosChanged();
    save();
    return binzo;
}

Entry *DataController::addEntry(Binzo *binzo, const QString &label, const QString &value,
                                bool isSensitive, AddDone done)
{
    const auto finish = [done](const Result<Entry *> &added) {
        if (done)
            done(added);
    };
    if (!binzo) {
        finish(Failure {QStringLiteral("there is no binzo to add the entry to")});
        return nullptr;
    }
    auto *entry = new Entry(label, isSensitive, *binzo, m_clock.now(), this);
    const auto keep = [this, entry] {
        adopt(entry);
        m_dirtyEntries.insert(entry);
        emit entriesChanged();
        save();
    };
    if (!isSensitive) {
        entry->setInlineValue(value);
        keep();
        finish(entry);
        return entry;
    }
    // Noted first: should the record never be saved, the next start removes the item.
    if (const Result<void> noted = m_secrets.note(entry->id()); !noted) {
        delete entry;
        finish(noted.failure());
        return nullptr;
    }
    m_unsettled.insert(entry->id());
    writeSecret(entry, label, value, [this, entry, keep, finish](const Result<void> &written) {
        if (!written) {
            const QUuid id = entry->id();
            delete entry;
            settleSecrets({{QString(), KeychainStore::account(id)}});
            finish(written.failure());
            return;
        }
        keep();
        finish(entry);
    });
    return nullptr;
}

void DataController::updateEntry(Entry *entry, const QString &label, const QString &value,
                                 bool isSensitive, ChangeDone done)
{
    const auto finish = [done](const Result<void> &changed) {
        if (done)
            done(changed);
    };
    if (!entry || !m_entries.contains(entry)) {
        finish(Failure {QStringLiteral("the entry no longer exists")});
        return;
    }
    QPointer<Entry> target(entry);
    const auto apply = [this, target, label, value, isSensitive] {
        const std::optional<QString> inlineValue
            = isSensitive ? std::nullopt : std::optional<QString>(value);
        // The old text would otherwise stay readable in the log until some later checkpoint.
        if (target->inlineValue() && target->inlineValue() != inlineValue)
            m_checkpointWanted = true;
        target->setLabel(label);
        target->setUpdatedAt(m_clock.now());
        target->setInlineValue(isSensitive ? std::nullopt : std::optional<QString>(value));
        target->setIsSensitive(isSensitive);
        save();
    };
    // A value entering or leaving the secret store can leave an item behind: noted first.
    if (isSensitive != entry->isSensitive()) {
        if (const Result<void> noted = m_secrets.note(entry->id()); !noted) {
            finish(noted);
            return;
        }
        m_unsettled.insert(entry->id());
    }
    if (!isSensitive) {
        // The item goes once the record holding the value inline is saved (settleSecrets).
        apply();
        finish({});
        return;
    }
    const QUuid id = entry->id();
    writeSecret(entry, label, value,
                [this, target, id, apply, finish](const Result<void> &written) {
                    if (!written) {
                        settleSecrets({{QString(), KeychainStore::account(id)}});
                        finish(written);
                        return;
                    }
                    if (!target || !m_entries.contains(target)) {
                        finish(Failure {QStringLiteral("the entry was deleted meanwhile")});
                        return;
                    }
                    apply();
                    finish({});
                });
}

void DataController::writeSecret(Entry *entry, const QString &label, const QString &value,
                                 std::function<void(const Result<void> &)> then)
{
    const QUuid id = entry->id();
    m_secretWrites.insert(id, label);
    m_secrets.write(id, label, value, this, [this, id, then](const SecretResult &result) {
        m_secretWrites.remove(id);
        // Asked for by the person: the prompt is welcome.
        if (result.status == SecretResult::Status::Locked)
            m_secrets.unlock();
        if (result.done())
            then({});
        else
            then(Failure {result.error});
    });
}

void DataController::deleteEntry(Entry *entry, bool holdSecret)
{
    if (!entry || !m_entries.contains(entry))
        return;
    detach(entry, holdSecret);
    emit entriesChanged();
    save();
}

void DataController::detach(Entry *entry, bool holdSecret)
{
    const QUuid id = entry->id();
    if (entry->isSensitive() || m_secretWrites.contains(id)) {
        if (!holdSecret) {
            m_secrets.remove(id, this, {});
        } else {
            // Noted now: should the app end while Undo is offered, the next start removes it.
            if (const Result<void> noted = m_secrets.note(id); !noted)
                qCWarning(lcModel, "%s", qPrintable(noted.error()));
            m_heldSecrets.insert(id);
            m_unsettled.insert(id);
        }
    }
    disconnect(entry, nullptr, this, nullptr);
    m_entries.removeOne(entry);
    m_dirtyEntries.remove(entry);
    m_deletedEntryIds.append(entry->id());
    m_checkpointWanted = true;
}

Entry *DataController::entry(const QUuid &id) const
{
    const auto match = std::find_if(m_entries.cbegin(), m_entries.cend(),
                                    [&](const Entry *entry) { return entry->id() == id; });
    return match == m_entries.cend() ? nullptr : *match;
}

void DataController::markUsed(Entry *entry)
{
    if (!entry || !m_entries.contains(entry))
        return;
    entry->setUseCount(entry->useCount() + 1);
    entry->setLastUsedAt(m_clock.now());
    save();
}

bool DataController::moveEntry(Entry *entry, Binzo *binzo)
{
    if (!entry || !m_entries.contains(entry) || !binzo || !m_binzos.contains(binzo))
        return false;
    if (entry->binzoID() == binzo->id())
        return true;
    entry->setBinzoID(binzo->id());
    entry->setUpdatedAt(m_clock.now());
    save();
    return true;
}

void DataController::forgetDeleted(const QUuid &id)
{
    if (m_heldSecrets.remove(id))
        m_secrets.remove(id, this, {});
}

Entry *DataController::restoreEntry(const Entry::Fields &fields)
{
    if (!binzo(fields.binzoID) || entry(fields.id))
        return nullptr;
    // A sensitive entry's value was held in the secret store for this (deleteEntry).
    m_heldSecrets.remove(fields.id);
    auto *restored = new Entry(fields, this);
    adopt(restored);
    // Still unsaved, the removal of its row must not follow the restored record.
    m_deletedEntryIds.removeAll(fields.id);
    m_dirtyEntries.insert(restored);
    emit entriesChanged();
    save();
    return restored;
}

bool DataController::deleteBinzo(Binzo *binzo)
{
    if (!binzo || !m_binzos.contains(binzo) || m_binzos.size() < 2)
        return false;
    const QList<Entry *> all = m_entries;
    for (Entry *entry : all) {
        if (entry->binzoID() == binzo->id())
            detach(entry, false);
    }
    forget(binzo);
    emit entriesChanged();
    emit binzosChanged();
    save();
    return true;
}

bool DataController::moveBinzo(Binzo *binzo, int position)
{
    QList<Binzo *> order = binzos();
    const qsizetype from = order.indexOf(binzo);
    if (from < 0 || position < 0 || position >= order.size())
        return false;
    if (from == position)
        return true;
    order.move(from, position);
    m_holdBinzosChanged = true;
    for (qsizetype i = 0; i < order.size(); ++i)
        order[i]->setSortIndex(i);
    m_holdBinzosChanged = false;
    emit binzosChanged();
    save();
    return true;
}

void DataController::forget(Binzo *binzo)
{
    // Like a deleted entry, the object outlives its record so that views never dangle.
    disconnect(binzo, nullptr, this, nullptr);
    m_binzos.removeOne(binzo);
    m_dirtyBinzos.remove(binzo);
    m_deletedBinzoIds.append(binzo->id());
}

void DataController::insertBinzo(Binzo *binzo)
{
    binzo->setParent(this);
    adopt(binzo);
    m_dirtyBinzos.insert(binzo);
    emit binzosChanged();
}

void DataController::insertEntry(Entry *entry)
{
    entry->setParent(this);
    adopt(entry);
    m_dirtyEntries.insert(entry);
    emit entriesChanged();
}

bool DataController::removeEmptyBinzo(Binzo *binzo)
{
    if (!binzo || !m_binzos.contains(binzo)
        || std::any_of(m_entries.cbegin(), m_entries.cend(),
                       [binzo](const Entry *entry) { return entry->binzoID() == binzo->id(); }))
        return false;
    forget(binzo);
    emit binzosChanged();
    return true;
}

bool DataController::holdsOnlyStartingBinzos() const
{
    const QList<Binzo *> binzos = this->binzos();
    if (!m_entries.isEmpty() || binzos.size() != qsizetype(std::size(kInitialBinzos)))
        return false;
    for (qsizetype i = 0; i < binzos.size(); ++i) {
        const InitialBinzo &initial = kInitialBinzos[i];
        if (binzos[i]->sortIndex() != i || binzos[i]->name() != QLatin1String(initial.name)
            || binzos[i]->sfSymbol() != QLatin1String(initial.symbol)
            || binzos[i]->colorHex() != QLatin1String(initial.colorHex))
            return false;
    }
    return true;
}

bool DataController::save()
{
    if (unsavedChangeCount() > 0) {
        if (!writePending()) {
            saveFailedWith(m_database->lastError());
            return false;
        }
        m_dirtyBinzos.clear();
        m_dirtyEntries.clear();
        m_deletedEntryIds.clear();
        m_deletedBinzoIds.clear();
        if (!m_saveError.isEmpty()) {
            qCInfo(lcModel, "the changes that had failed are saved now");
            m_saveError.clear();
            emit saveStateChanged();
        }
    }
    // Every record is on disk: the secret items noted for it can be judged.
    QList<SecretJournal::Note> unsettled;
    for (const QUuid &id : std::as_const(m_unsettled))
        unsettled.append({QString(), KeychainStore::account(id)});
    settleSecrets(unsettled);
    checkpointIfWanted();
    if (!m_checkpointWanted)
        m_retryDelay = kFirstRetryDelay;
    return true;
}

int DataController::unsavedChangeCount() const
{
    return int(m_dirtyBinzos.size() + m_dirtyEntries.size() + m_deletedEntryIds.size()
               + m_deletedBinzoIds.size());
}

bool DataController::finish()
{
    const bool saved = save();
    m_database->checkpointAndTruncate();
    return saved;
}

void DataController::saveFailedWith(const QString &error)
{
    if (error != m_saveError) {
        qCWarning(lcModel, "could not save changes, they will be retried: %s", qPrintable(error));
    }
    m_saveError = error;
    scheduleRetry();
    emit saveFailed(error);
    emit saveStateChanged();
}

void DataController::checkpointIfWanted()
{
    if (!m_checkpointWanted)
        return;
    if (m_database->checkpointAndTruncate())
        m_checkpointWanted = false;
    else
        scheduleRetry();
}

void DataController::scheduleRetry()
{
    if (m_retryScheduled)
        return;
    m_retryScheduled = true;
    const std::chrono::milliseconds longest
        = m_database->lastErrorWasBusy() ? kLongestRetryDelayWhileLocked : kLongestRetryDelay;
    const std::chrono::milliseconds delay = std::min(m_retryDelay, longest);
    m_retryDelay = std::min(m_retryDelay * 2, kLongestRetryDelay);
    m_timers->schedule(delay, [self = QPointer<DataController>(this)] {
        if (!self)
            return;
        self->m_retryScheduled = false;
        self->save();
    });
}

bool DataController::writePending()
{
    if (!m_database->exec("BEGIN IMMEDIATE"))
        return false;
    // Store order, so new rows keep the order in which they were added.
    bool ok = true;
    for (Binzo *binzo : std::as_const(m_binzos))
        ok = ok && (!m_dirtyBinzos.contains(binzo) || m_tables->write(*binzo));
    for (Entry *entry : std::as_const(m_entries))
        ok = ok && (!m_dirtyEntries.contains(entry) || m_tables->write(*entry));
    for (const QUuid &id : std::as_const(m_deletedEntryIds))
        ok = ok && m_tables->removeEntry(id);
    for (const QUuid &id : std::as_const(m_deletedBinzoIds))
        ok = ok && m_tables->removeBinzo(id);
    if (ok && m_database->exec("COMMIT"))
        return true;
    m_database->rollback();
    return false;
}

QList<Binzo *> DataController::binzos() const
{
    QList<Binzo *> sorted = m_binzos;
    std::stable_sort(sorted.begin(), sorted.end(), [](const Binzo *a, const Binzo *b) {
        return a->sortIndex() < b->sortIndex();
    });
    return sorted;
}

QList<Entry *> DataController::entries() const
{
    return m_entries;
}

QList<KeychainStore::Item> DataController::secretItems() const
{
    QList<KeychainStore::Item> items;
    for (const Entry *entry : m_entries) {
        if (entry->isSensitive() && !m_secretWrites.contains(entry->id()))
            items.append({entry->id(), entry->label()});
    }
    for (auto it = m_secretWrites.cbegin(); it != m_secretWrites.cend(); ++it)
        items.append({it.key(), it.value()});
    return items;
}

void DataController::settleSecrets(const QList<SecretJournal::Note> &notes)
{
    for (const SecretJournal::Note &note : notes) {
        const QUuid id = QUuid::fromString(note.account);
        // Judged later: the value is still on its way, kept for an Undo, or its record is
        // not saved yet.
        if (m_secretWrites.contains(id) || m_heldSecrets.contains(id))
            continue;
        const Entry *found = entry(id);
        if (found && m_dirtyEntries.contains(const_cast<Entry *>(found)))
            continue;
        if (note.store.isEmpty())
            m_unsettled.remove(id);
        m_secrets.settle(note, found && found->isSensitive(), this, {});
    }
}

void DataController::reconcileSecrets()
{
    connect(&m_secrets, &KeychainStore::unlocked, this,
            [this] { settleSecrets(m_secrets.notes()); });
    settleSecrets(m_secrets.notes());
    if (secretItems().isEmpty())
        return;
    // Items stored before they carried their entry's label are given it.
    m_secrets.listItems(this, [this](const SecretListing &listing) {
        for (const KeychainStore::Item &item : secretItems()) {
            if (m_secretWrites.contains(item.id))
                continue;
            const QString account = KeychainStore::account(item.id);
            const QString wanted = KeychainStore::itemLabel(item.entryLabel);
            if (listing.items.contains(account) && listing.items.value(account) != wanted)
                m_secrets.relabel(item.id, item.entryLabel, this, {});
        }
    });
}

BinzoListModel *DataController::binzoModel()
{
    if (!m_binzoModel)
        m_binzoModel = new BinzoListModel(this);
    return m_binzoModel;
}

