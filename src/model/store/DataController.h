// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Clock.h"
#include "model/Result.h"
#include "model/records/Binzo.h"
#include "model/records/Entry.h"
#include "model/secrets/KeychainStore.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QUuid>

#include <chrono>
#include <functional>
#include <memory>

class BinzoListModel;
class RecordTables;
class SqliteDatabase;
class TimerScheduler;

// Owns the record store (SQLite) and the operations that keep records and the secret store
// in step. Every change is saved at once. A save that fails (another process holds the
// database, the disk is full) keeps the change in memory, is reported through saveFailed and
// saveStateChanged, and is retried on its own after 0.25 s, doubling up to 5 s (2 s while
// another program holds the lock), until it succeeds. A write never waits for a lock, so
// the UI never stalls on one.
//
// A sensitive value is always in at least one place: a value entering the secret store is
// written there before the record that points to it is saved; a value leaving it is removed
// only after the record holding it inline (or the deletion) is saved. Items a crash or a
// refusal may leave behind are noted first (KeychainStore::note) and settled against the
// records after each save, when the keyring is unlocked, and at the next start.
class DataController : public QObject
{
    Q_OBJECT
public:
    // Opens (creating when missing) the store at a path and seeds an empty store; a Failure
    // when it cannot be opened, and the file is never altered then. Retries run on timers (the
    // event loop's when none are given). Sensitive values go to and come from secrets, dates
    // come from clock; both must outlive the store.
    static Result<std::unique_ptr<DataController>> open(const QString &databasePath,
                                                        KeychainStore &secrets,
                                                        TimerScheduler *timers = nullptr,
                                                        const Clock &clock = Clock::system());
    // $XDG_DATA_HOME/binzo/binzo.sqlite3.
    static QString defaultDatabasePath();
    // The process's store. A store that cannot be opened stops the process with
    // "Failed to create ModelContainer: " and the error on standard error.
    static DataController &shared();

    ~DataController() override;

    // Where the sensitive values live.
    KeychainStore &secrets() const { return m_secrets; }

    // Null when no compartment matches (or the store cannot be read).
    Binzo *binzo(const QString &named) const;
    Binzo *binzo(const QUuid &id) const;
    Binzo *addBinzo(const QString &name, const QString &symbol, const QString &colorHex);
    // What became of a change that touches the secret store, on this thread: the new entry
    // or why there is none / why the change was refused.
    using AddDone = std::function<void(const Result<Entry *> &added)>;
    using ChangeDone = std::function<void(const Result<void> &changed)>;

    // An ordinary entry is created at once and returned (done has run by then). A sensitive
    // value goes to the secret store first: the entry exists only once it is there, so null
    // is returned and done tells; a refused write creates nothing.
    Entry *addEntry(Binzo *binzo, const QString &label, const QString &value, bool isSensitive,
                    AddDone done = {});
    // Applied once a sensitive value is in the secret store; a refused write leaves the entry
    // unchanged.
    void updateEntry(Entry *entry, const QString &label, const QString &value, bool isSensitive,
                     ChangeDone done = {});
    // A sensitive entry's secret is removed even when the deletion of the record is not
    // saved, so it never outlives a deletion that was asked for; with holdSecret it stays
    // until forgetDeleted() (Undo is offered meanwhile), noted so that the next start removes
    // it should the app end first. The object stays valid (detached from the store) until the
    // controller goes away, so views holding it never dangle.
    void deleteEntry(Entry *entry, bool holdSecret = false);
    // The end of the Undo offer for a deleted entry: its held secret goes.
    void forgetDeleted(const QUuid &id);
    void markUsed(Entry *entry);
    // Files an entry under another compartment. False for an unknown entry or compartment.
    bool moveEntry(Entry *entry, Binzo *binzo);
    // Puts a deleted entry back exactly as it was (id, dates, use count); a sensitive one's
    // value is the one held since its deletion. Null when its compartment is gone or its id is
    // in use.
    Entry *restoreEntry(const Entry::Fields &fields);
    // Removes a compartment with its entries and their secrets; the others keep their
    // sortIndex. The last compartment stays (an empty store would be seeded again): false.
    bool deleteBinzo(Binzo *binzo);
    // Moves a compartment to a position of the tab order, numbering sortIndex 0, 1, 2…
    bool moveBinzo(Binzo *binzo, int position);
    // Records made elsewhere (an import) with their own ids and dates; written by the next
    // save, in one transaction with every other pending change. The controller owns them.
    void insertBinzo(Binzo *binzo);
    void insertEntry(Entry *entry);
    // Only a compartment no entry names (a starting one an import replaces): entries are
    // never left without their compartment. The object stays valid, as deleted entries do.
    bool removeEmptyBinzo(Binzo *binzo);
    // True while nothing in the store is the user's: no entries, and the starting
    // compartments exactly as they were seeded.
    bool holdsOnlyStartingBinzos() const;
    // Writes every pending change in one transaction; false when it failed (a retry is
    // then scheduled).
    bool save();
    // Records whose latest change is not on disk yet, and why the last save failed (empty
    // once everything is saved).
    int unsavedChangeCount() const;
    QString saveError() const { return m_saveError; }
    // Changes waiting for the secret store to answer (their records follow once it has).
    int secretChangesInFlight() const { return int(m_secretWrites.size()); }
    // Last call before the process ends: saves, and empties the write-ahead log so that no
    // removed value stays in it. False when changes remain unsaved.
    bool finish();

    // All compartments ordered by sortIndex; all entries in store order.
    QList<Binzo *> binzos() const;
    QList<Entry *> entries() const;
    // Every secret this store holds or is about to hold, for moving them to another store.
    QList<KeychainStore::Item> secretItems() const;
    // A live list model for the views; it follows every change made in the process.
    BinzoListModel *binzoModel();

signals:
    void binzosChanged();
    void entriesChanged();
    void saveFailed(const QString &error);
    // unsavedChangeCount or saveError changed after a save failed or succeeded.
    void saveStateChanged();

private:
    DataController(std::unique_ptr<SqliteDatabase> database, KeychainStore &secrets,
                   TimerScheduler *timers, const Clock &clock);
    Result<void> load();
    void seedIfEmpty();
    void adopt(Binzo *binzo);
    void adopt(Entry *entry);
    void detach(Entry *entry, bool holdSecret);
    void forget(Binzo *binzo);
    Entry *entry(const QUuid &id) const;
    bool writePending();
    void saveFailedWith(const QString &error);
    // Empties the log once a removed plain value may be in it; retried while readers hold it.
    void checkpointIfWanted();
    void scheduleRetry();
    // Acts on the secret-store notes whose items can be judged now: an item stays only for
    // a sensitive entry whose record is saved.
    void settleSecrets(const QList<SecretJournal::Note> &notes);
    // At start: every note, and item labels that do not follow their entry's label.
    void reconcileSecrets();
    void writeSecret(Entry *entry, const QString &label, const QString &value,
                     std::function<void(const Result<void> &written)> then);

    std::unique_ptr<SqliteDatabase> m_database;
    KeychainStore &m_secrets;
    const Clock &m_clock;
    std::unique_ptr<RecordTables> m_tables;
    QList<Binzo *> m_binzos;
    QList<Entry *> m_entries;
    // Changes not yet written; records are written in store order.
    QSet<Binzo *> m_dirtyBinzos;
    QSet<Entry *> m_dirtyEntries;
    QList<QUuid> m_deletedEntryIds;
    QList<QUuid> m_deletedBinzoIds;
    // Entries whose value is on its way to the secret store, with their labels.
    QHash<QUuid, QString> m_secretWrites;
    // Noted this run, settled after the next save.
    QSet<QUuid> m_unsettled;
    // Secrets of deleted entries kept while their deletion can be undone.
    QSet<QUuid> m_heldSecrets;
    // While several compartments change together, one binzosChanged follows at the end.
    bool m_holdBinzosChanged = false;
    bool m_checkpointWanted = false;
    QString m_saveError;
    std::unique_ptr<TimerScheduler> m_ownTimers;
    TimerScheduler *m_timers;
    bool m_retryScheduled = false;
    std::chrono::milliseconds m_retryDelay;
    BinzoListModel *m_binzoModel = nullptr;
};
