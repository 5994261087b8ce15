// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/records/Binzo.h"
#include "model/records/Entry.h"

#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QUuid>

#include <memory>

class BinzoListModel;
class EntryListModel;
class RecordTables;
class SqliteDatabase;

// Owns the record store (SQLite) and the operations that keep records and the secret store
// in step. Every change is saved at once; a failed save keeps the change in memory, is
// retried at the next save and is reported through saveFailed.
class DataController : public QObject
{
    Q_OBJECT
public:
    // Opens (creating when missing) the store at a path and seeds an empty store. Absent with
    // the error text in *error when it cannot be opened; the file is never altered then.
    static std::unique_ptr<DataController> open(const QString &databasePath, QString *error);
    // $XDG_DATA_HOME/binzo/binzo.sqlite3.
    static QString defaultDatabasePath();
    // The process's store. A store that cannot be opened stops the process with
    // "Failed to create ModelContainer: " and the error on standard error.
    static DataController &shared();

    ~DataController() override;

    // Null when no compartment matches (or the store cannot be read).
    Binzo *binzo(const QString &named) const;
    Binzo *binzo(const QUuid &id) const;
    Binzo *addBinzo(const QString &name, const QString &symbol, const QString &colorHex);
    // Null when a sensitive value could not be written to the secret store: nothing is
    // created then (KeychainStore::lastError says why).
    Entry *addEntry(Binzo *binzo, const QString &label, const QString &value, bool isSensitive);
    // False when a sensitive value could not be written: the entry is left unchanged.
    bool updateEntry(Entry *entry, const QString &label, const QString &value, bool isSensitive);
    // The secret goes first, so a sensitive value never outlives a deletion that was asked
    // for. The object stays valid (detached from the store) until the controller goes away,
    // so views holding it never dangle.
    void deleteEntry(Entry *entry);
    void markUsed(Entry *entry);
    // Writes every pending change in one transaction.
    bool save();

    // All compartments ordered by sortIndex; all entries in store order.
    QList<Binzo *> binzos() const;
    QList<Entry *> entries() const;
    // Live list models for the views; they follow every change made in the process.
    BinzoListModel *binzoModel();
    EntryListModel *entryModel();

signals:
    void binzosChanged();
    void entriesChanged();
    void saveFailed(const QString &error);

private:
    explicit DataController(std::unique_ptr<SqliteDatabase> database);
    bool load(QString *error);
    void seedIfEmpty();
    void adopt(Binzo *binzo);
    void adopt(Entry *entry);
    bool writePending();

    std::unique_ptr<SqliteDatabase> m_database;
    std::unique_ptr<RecordTables> m_tables;
    QList<Binzo *> m_binzos;
    QList<Entry *> m_entries;
    // Changes not yet written; records are written in store order.
    QSet<Binzo *> m_dirtyBinzos;
    QSet<Entry *> m_dirtyEntries;
    QList<QUuid> m_deletedEntryIds;
    BinzoListModel *m_binzoModel = nullptr;
    EntryListModel *m_entryModel = nullptr;
};
