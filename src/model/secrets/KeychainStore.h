// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Result.h"
#include "model/secrets/SecretBackend.h"
#include "model/secrets/SecretJournal.h"
#include "model/secrets/SecretMigration.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUuid>

#include <functional>
#include <memory>

class SecretStores;
class SerialWorker;

// The values of sensitive entries, one secret per entry keyed by the entry's id, in the store
// the user chose. Every call is carried out on the store's own thread, one at a time in the
// order made, and its result comes back on the caller's thread through a callback that is
// dropped when its context object is gone: the UI thread never waits for a keyring.
//
// Changes (write, remove, relabel) are driven to a definite outcome: a call that got no answer
// may still take effect, so it is made again, with a growing pause, until the store answers;
// meanwhile isAnswering() is false. Removals go through the journal of notes (SecretJournal),
// so an item left behind by a crash or a refusal is removed later (settle()).
class KeychainStore : public QObject
{
    Q_OBJECT
public:
    using Done = std::function<void(const SecretResult &)>;
    // A row's preview never prompts and gives up at once while the store does not answer; a
    // value the person asked for (copy, reveal, edit) is always asked of the store.
    enum class Purpose { Preview, Use };
    using Item = SecretMigration::Item;

    KeychainStore(std::unique_ptr<SecretStores> stores, const QString &journalPath);
    ~KeychainStore() override;

    // The store remembered in the preferences (chosen on first use).
    static KeychainStore &shared();
    static void setShared(std::unique_ptr<KeychainStore> store);
    // Tests: the shared instance keeps its secrets in this backend alone.
    static void setSharedBackend(std::unique_ptr<SecretBackend> backend);

    static QString service() { return QStringLiteral("com.qorvastine.binzo.secrets"); }
    // The uppercase hyphenated form of the id: the secret's account name.
    static QString account(const QUuid &id);
    // The name the desktop's keyring manager shows for the item.
    static QString itemLabel(const QString &entryLabel);

    void write(const QUuid &id, const QString &entryLabel, const QString &value, QObject *context,
               Done done);
    // result.value holds the value as UTF-8 when Done.
    void read(const QUuid &id, Purpose purpose, QObject *context, Done done);
    // Notes the item, then removes it.
    void remove(const QUuid &id, QObject *context, Done done);
    void relabel(const QUuid &id, const QString &entryLabel, QObject *context, Done done);
    void listItems(QObject *context, std::function<void(const SecretListing &)> done);

    // Notes that a change about to be made may leave the item of id behind. Synchronous and
    // cheap; a Failure when the note could not be kept.
    Result<void> note(const QUuid &id);
    QList<SecretJournal::Note> notes() const;
    // Acts on a note: the item stays when keep is true and the note is about the store in
    // use, and is removed otherwise; the note goes once that is so.
    void settle(const SecretJournal::Note &note, bool keep, QObject *context, Done done);

    // Starts the store's unlock prompt unless one is open; unlocked() follows when the
    // person unlocked it.
    void unlock();
    bool isUnlocking() const { return m_unlocking; }
    bool isAnswering() const { return m_answering; }

    // The name of the store in use ("secret-service", "file"; empty until chosen), as last
    // seen; describe() asks (and makes the choice when none is made yet).
    QString storeName() const { return m_storeName; }
    void describe(QObject *context, std::function<void(const QString &name)> done);
    // Moves every given secret to the store named target (SecretMigration); progress hears
    // of each secret copied.
    void migrate(const QString &target, const QList<Item> &items, QObject *context,
                 std::function<void(int copied, int total)> progress, Done done);

signals:
    void answeringChanged();
    void unlockingChanged();
    void unlocked();
    void storeNameChanged();
    // The item of id was written or removed.
    void valueChanged(const QUuid &id);

private:
    struct Core;
    void post(std::function<void(Core &core, const std::function<bool(int)> &pause)> job);
    // A change of the item of id in the store in use, until the store answers.
    void change(const QUuid &id, QObject *context, Done done,
                std::function<SecretResult(SecretBackend &)> call);
    static void changed(const QPointer<KeychainStore> &self, const QUuid &id);
    // Called on this thread with what a job saw of the store.
    void observe(bool answered, const QString &storeName);
    static void report(const QPointer<KeychainStore> &self, const SecretResult &result,
                       const QString &name);

    std::shared_ptr<Core> m_core;
    std::unique_ptr<SerialWorker> m_worker;
    bool m_answering = true;
    bool m_unlocking = false;
    QElapsedTimer m_sinceUnanswered;
    QString m_storeName;
};
