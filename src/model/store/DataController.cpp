// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/store/DataController.h"

#include "model/Paths.h"
#include "model/records/BinzoListModel.h"
#include "model/records/EntryListModel.h"
#include "model/secrets/KeychainStore.h"
#include "model/store/RecordTables.h"
#include "model/store/SqliteDatabase.h"
#include "model/store/StoreFile.h"

#include <QCollator>

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

} // namespace

DataController::DataController(std::unique_ptr<SqliteDatabase> database)
    : m_database(std::move(database))
    , m_tables(std::make_unique<RecordTables>(*m_database))
{ }

DataController::~DataController() = default;

std::unique_ptr<DataController> DataController::open(const QString &databasePath, QString *error)
{
    std::unique_ptr<SqliteDatabase> database = StoreFile::open(databasePath, error);
    if (!database)
        return nullptr;
    std::unique_ptr<DataController> controller(new DataController(std::move(database)));
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
    if (entry->isSensitive())
        KeychainStore::shared().remove(entry->id());
    disconnect(entry, nullptr, this, nullptr);
    m_entries.removeOne(entry);
    m_dirtyEntries.remove(entry);
    m_deletedEntryIds.append(entry->id());
    emit entriesChanged();
    save();
}

void DataController::markUsed(Entry *entry)
{
    if (!entry || !m_entries.contains(entry))
        return;
    entry->setUseCount(entry->useCount() + 1);
    entry->setLastUsedAt(QDateTime::currentDateTimeUtc());
    save();
}

bool DataController::save()
{
    if (m_dirtyBinzos.isEmpty() && m_dirtyEntries.isEmpty() && m_deletedEntryIds.isEmpty())
        return true;
    if (writePending()) {
        m_dirtyBinzos.clear();
        m_dirtyEntries.clear();
        m_deletedEntryIds.clear();
        return true;
    }
    const QString error = m_database->lastError();
    std::fprintf(stderr, "Binzo: could not save changes, they will be retried: %s\n",
                 qPrintable(error));
    emit saveFailed(error);
    return false;
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
