// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/store/DataController.h"

#include "model/EventLoopScheduler.h"
#include "model/Paths.h"
#include "model/records/BinzoListModel.h"
#include "model/records/EntryListModel.h"
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

DataController::DataController(std::unique_ptr<SqliteDatabase> database, TimerScheduler *timers)
    : m_database(std::move(database))
    , m_tables(std::make_unique<RecordTables>(*m_database))
    , m_ownTimers(timers ? nullptr : std::make_unique<EventLoopScheduler>())
    , m_timers(timers ? timers : m_ownTimers.get())
    , m_retryDelay(kFirstRetryDelay)
{ }

DataController::~DataController() = default;

std::unique_ptr<DataController> DataController::open(const QString &databasePath, QString *error,
                                                     TimerScheduler *timers)
{
    std::unique_ptr<SqliteDatabase> database = StoreFile::open(databasePath, error);
    if (!database)
        return nullptr;
    std::unique_ptr<DataController> controller(new DataController(std::move(database), timers));
    if (!controller->load(error))
        return nullptr;
    controller->seedIfEmpty();
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
        QString error;
        std::unique_ptr<DataController> controller = open(defaultDatabasePath(), &error);
        if (!controller) {
            std::fprintf(stderr, "Failed to create ModelContainer: %s\n", qPrintable(error));
            std::exit(EXIT_FAILURE);
        }
        return controller.release();
    }();
    return *instance;
}

bool DataController::load(QString *error)
{
    std::optional<QList<Binzo *>> binzos = m_tables->loadBinzos(this);
    std::optional<QList<Entry *>> entries = m_tables->loadEntries(this);
    if (!binzos || !entries) {
        *error = m_database->lastError();
        return false;
    }
    for (Binzo *binzo : *binzos)
        adopt(binzo);
    for (Entry *entry : *entries)
        adopt(entry);
    return true;
}

void DataController::seedIfEmpty()
{
    if (!m_binzos.isEmpty())
        return;
    for (const InitialBinzo &initial : kInitialBinzos) {
        auto *binzo = new Binzo(QString::fromUtf8(initial.name), QString::fromUtf8(initial.symbol),
                                QString::fromUtf8(initial.colorHex), m_binzos.size(), this);
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
    auto *binzo = new Binzo(name, symbol, colorHex, m_binzos.size(), this);
    adopt(binzo);
    m_dirtyBinzos.insert(binzo);
    emit binzosChanged();
    save();
    return binzo;
}

Entry *DataController::addEntry(Binzo *binzo, const QString &label, const QString &value,
                                bool isSensitive)
{
    if (!binzo)
        return nullptr;
    auto entry = std::make_unique<Entry>(label, isSensitive, *binzo);
    if (isSensitive) {
        // A sensitive entry without its value would look stored but hold nothing.
        if (!KeychainStore::shared().write(value, entry->id()))
            return nullptr;
    } else {
        entry->setInlineValue(value);
    }
    entry->setParent(this);
    Entry *added = entry.release();
    adopt(added);
    m_dirtyEntries.insert(added);
    emit entriesChanged();
    save();
    return added;
}

bool DataController::updateEntry(Entry *entry, const QString &label, const QString &value,
                                 bool isSensitive)
{
    if (!entry || !m_entries.contains(entry))
        return false;
    if (isSensitive && !KeychainStore::shared().write(value, entry->id()))
        return false;
    const std::optional<QString> inlineValue
        = isSensitive ? std::nullopt : std::optional<QString>(value);
    // The old text would otherwise stay readable in the log until some later checkpoint.
    if (entry->inlineValue() && entry->inlineValue() != inlineValue)
        m_checkpointWanted = true;
    entry->setLabel(label);
    entry->setUpdatedAt(QDateTime::currentDateTimeUtc());
    if (isSensitive) {
        entry->setInlineValue(std::nullopt);
    } else {
        KeychainStore::shared().remove(entry->id());
        entry->setInlineValue(value);
    }
    entry->setIsSensitive(isSensitive);
    save();
    return true;
}

void DataController::deleteEntry(Entry *entry)
{
    if (!entry || !m_entries.contains(entry))
        return;
    detach(entry);
    emit entriesChanged();
    save();
}

void DataController::detach(Entry *entry)
{
    if (entry->isSensitive())
        KeychainStore::shared().remove(entry->id());
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
    entry->setLastUsedAt(QDateTime::currentDateTimeUtc());
    save();
}

bool DataController::moveEntry(Entry *entry, Binzo *binzo)
{
    if (!entry || !m_entries.contains(entry) || !binzo || !m_binzos.contains(binzo))
        return false;
    if (entry->binzoID() == binzo->id())
        return true;
    entry->setBinzoID(binzo->id());
    entry->setUpdatedAt(QDateTime::currentDateTimeUtc());
    save();
    return true;
}

Entry *DataController::restoreEntry(const Entry::Fields &fields,
                                    const std::optional<QString> &secret)
{
    if (!binzo(fields.binzoID) || entry(fields.id))
        return nullptr;
    if (fields.isSensitive && secret && !KeychainStore::shared().write(*secret, fields.id))
        return nullptr;
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
            detach(entry);
    }
    // Like a deleted entry, the object outlives its record so that views never dangle.
    disconnect(binzo, nullptr, this, nullptr);
    m_binzos.removeOne(binzo);
    m_dirtyBinzos.remove(binzo);
    m_deletedBinzoIds.append(binzo->id());
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
            std::fprintf(stderr, "Binzo: the changes that had failed are saved now\n");
            m_saveError.clear();
            emit saveStateChanged();
        }
    }
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
        std::fprintf(stderr, "Binzo: could not save changes, they will be retried: %s\n",
                     qPrintable(error));
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

BinzoListModel *DataController::binzoModel()
{
    if (!m_binzoModel)
        m_binzoModel = new BinzoListModel(this);
    return m_binzoModel;
}

EntryListModel *DataController::entryModel()
{
    if (!m_entryModel)
        m_entryModel = new EntryListModel(this);
    return m_entryModel;
}
