// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/KeychainStore.h"

#include "model/Paths.h"
#include "model/Preferences.h"
#include "model/SecretBackendChoice.h"
#include "model/SerialWorker.h"

#include <QCoreApplication>
#include <QPointer>
#include <QStringDecoder>

namespace {

using Status = SecretResult::Status;
using Pause = std::function<bool(int)>;

// Pauses between attempts at a change that got no answer.
constexpr int kFirstPauseMs = 250;
constexpr int kLongestPauseMs = 5000;
// How long previews give up at once after a call went unanswered, before asking again.
constexpr qint64 kPreviewRecheckMs = 5000;

std::unique_ptr<KeychainStore> &sharedInstance()
{
    static std::unique_ptr<KeychainStore> instance;
    return instance;
}

QString journalPath()
{
    return Paths::dataDir() + QStringLiteral("/secrets.pending");
}

// Hands a value to done on the UI thread, unless context is gone by then.
template<class Value>
void deliver(const QPointer<QObject> &context, std::function<void(const Value &)> done, Value value)
{
    if (!done)
        return;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [context, done = std::move(done), value = std::move(value)] {
            if (context)
                done(value);
        },
        Qt::QueuedConnection);
}

// Repeats a change that got no answer, with a growing pause, until the store answers or the
// worker stops.
SecretResult untilAnswered(const Pause &pause, const std::function<SecretResult()> &attempt)
{
    int wait = kFirstPauseMs;
    for (;;) {
        SecretResult result = attempt();
        if (result.status != Status::Unknown || !pause(wait))
            return result;
        wait = std::min(wait * 2, kLongestPauseMs);
    }
}

SecretResult asText(SecretResult result)
{
    if (!result.done())
        return result;
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder(result.value);
    if (decoder.hasError())
        return SecretResult::failure(Status::Failed,
                                     QStringLiteral("the stored value is not text"));
    return result;
}

} // namespace

struct KeychainStore::Core
{
    Core(std::unique_ptr<SecretStores> stores, const QString &journalPath)
        : stores(std::move(stores))
        , journal(journalPath)
    { }

    // The store in use, or why there is none, for one call.
    SecretResult onCurrent(QString *name, const std::function<SecretResult(SecretBackend &)> &call)
    {
        SecretResult why
            = SecretResult::failure(Status::Failed, QStringLiteral("no secret store is available"));
        SecretBackend *backend = stores->current(name, &why);
        return backend ? call(*backend) : why;
    }

    std::unique_ptr<SecretStores> stores;
    SecretJournal journal;
};

KeychainStore::KeychainStore(std::unique_ptr<SecretStores> stores, const QString &journalPath)
    : m_core(std::make_shared<Core>(std::move(stores), journalPath))
    , m_worker(std::make_unique<SerialWorker>())
{ }

KeychainStore::~KeychainStore() = default;

KeychainStore &KeychainStore::shared()
{
    auto &instance = sharedInstance();
    if (!instance) {
        instance = std::make_unique<KeychainStore>(
            std::make_unique<SecretBackendChoice>(Preferences::shared(), Paths::dataDir(),
                                                  service()),
            journalPath());
    }
    return *instance;
}

void KeychainStore::setShared(std::unique_ptr<KeychainStore> store)
{
    sharedInstance() = std::move(store);
}

void KeychainStore::setSharedBackend(std::unique_ptr<SecretBackend> backend)
{
    setShared(std::make_unique<KeychainStore>(
        std::make_unique<SingleSecretStore>(QStringLiteral("test"), std::move(backend)),
        journalPath()));
}

QString KeychainStore::account(const QUuid &id)
{
    return id.toString(QUuid::WithoutBraces).toUpper();
}

QString KeychainStore::itemLabel(const QString &entryLabel)
{
    return QStringLiteral("Binzo: ") + entryLabel;
}

void KeychainStore::post(std::function<void(Core &, const Pause &)> job)
{
    m_worker->post(
        [core = m_core, job = std::move(job)](const Pause &pause) { job(*core, pause); });
}

void KeychainStore::observe(bool answered, const QString &storeName)
{
    if (!answered)
        m_sinceUnanswered.start();
    if (answered != m_answering) {
        m_answering = answered;
        emit answeringChanged();
    }
    if (!storeName.isEmpty() && storeName != m_storeName) {
        m_storeName = storeName;
        emit storeNameChanged();
    }
}

// Tells the store, on its thread, what a call on the store in use showed.
void KeychainStore::report(const QPointer<KeychainStore> &self, const SecretResult &result,
                           const QString &name)
{
    const bool answered = result.status != Status::Unknown;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [self, answered, name] {
            if (self)
                self->observe(answered, name);
        },
        Qt::QueuedConnection);
}

void KeychainStore::write(const QUuid &id, const QString &entryLabel, const QString &value,
                          QObject *context, Done done)
{
    QPointer<KeychainStore> self(this);
    QPointer<QObject> receiver(context);
    const QString item = account(id);
    const QString label = itemLabel(entryLabel);
    const QByteArray bytes = value.toUtf8();
    post([=](Core &core, const Pause &pause) {
        const SecretResult result = untilAnswered(pause, [&] {
            QString name;
            SecretResult attempt = core.onCurrent(&name, [&](SecretBackend &backend) {
                return backend.write(service(), item, label, bytes);
            });
            report(self, attempt, name);
            return attempt;
        });
        if (result.done())
            deliver<QUuid>(
                self.data(), [self](const QUuid &changed) { emit self->valueChanged(changed); },
                id);
        deliver(receiver, done, result);
    });
}

void KeychainStore::read(const QUuid &id, Purpose purpose, QObject *context, Done done)
{
    QPointer<QObject> receiver(context);
    if (purpose == Purpose::Preview && !m_answering && m_sinceUnanswered.isValid()
        && m_sinceUnanswered.elapsed() < kPreviewRecheckMs) {
        deliver(receiver, std::move(done),
                SecretResult::failure(Status::Unknown,
                                      QStringLiteral("the system keyring does not answer")));
        return;
    }
    QPointer<KeychainStore> self(this);
    const QString item = account(id);
    post([=](Core &core, const Pause &) {
        QString name;
        const SecretResult result = asText(core.onCurrent(
            &name, [&](SecretBackend &backend) { return backend.read(service(), item); }));
        report(self, result, name);
        deliver(receiver, done, result);
    });
}

void KeychainStore::remove(const QUuid &id, QObject *context, Done done)
{
    QString error;
    if (!note(id, &error)) {
        deliver(QPointer<QObject>(context), std::move(done),
                SecretResult::failure(Status::Failed, error));
        return;
    }
    settle({QString(), account(id)}, false, context, std::move(done));
}

void KeychainStore::relabel(const QUuid &id, const QString &entryLabel, QObject *context, Done done)
{
    QPointer<KeychainStore> self(this);
    QPointer<QObject> receiver(context);
    const QString item = account(id);
    const QString label = itemLabel(entryLabel);
    post([=](Core &core, const Pause &pause) {
        const SecretResult result = untilAnswered(pause, [&] {
            QString name;
            SecretResult attempt = core.onCurrent(&name, [&](SecretBackend &backend) {
                return backend.relabel(service(), item, label);
            });
            report(self, attempt, name);
            return attempt;
        });
        deliver(receiver, done, result);
    });
}

void KeychainStore::listItems(QObject *context, std::function<void(const SecretListing &)> done)
{
    QPointer<QObject> receiver(context);
    post([=](Core &core, const Pause &) {
        QString name;
        SecretListing listing;
        const SecretResult result = core.onCurrent(&name, [&](SecretBackend &backend) {
            listing = backend.items(service());
            if (!backend.keepsLabels())
                listing.items.clear(); // nothing to compare: only labels are asked for
            return SecretResult::failure(listing.status, listing.error);
        });
        listing.status = result.status;
        listing.error = result.error;
        deliver(receiver, done, listing);
    });
}

bool KeychainStore::note(const QUuid &id, QString *error)
{
    return m_core->journal.add({{QString(), account(id)}}, error);
}

QList<SecretJournal::Note> KeychainStore::notes() const
{
    return m_core->journal.notes();
}

void KeychainStore::settle(const SecretJournal::Note &note, bool keep, QObject *context, Done done)
{
    QPointer<KeychainStore> self(this);
    QPointer<QObject> receiver(context);
    post([=](Core &core, const Pause &pause) {
        QString inUse;
        SecretResult why;
        const bool chosen = core.stores->current(&inUse, &why) != nullptr;
        const QString storeName = note.store.isEmpty() ? inUse : note.store;
        if (storeName.isEmpty() && !chosen) {
            deliver(receiver, done, why);
            return;
        }
        SecretBackend *backend = core.stores->byName(storeName);
        if (!backend || (keep && storeName == inUse)) {
            core.journal.clear(note);
            deliver(receiver, done, SecretResult());
            return;
        }
        const SecretResult result = untilAnswered(pause, [&] {
            SecretResult attempt = backend->remove(service(), note.account);
            if (storeName == inUse)
                report(self, attempt, inUse);
            return attempt;
        });
        if (result.done()) {
            core.journal.clear(note);
            if (storeName == inUse)
                deliver<QUuid>(
                    self.data(), [self](const QUuid &changed) { emit self->valueChanged(changed); },
                    QUuid::fromString(note.account));
        }
        deliver(receiver, done, result);
    });
}

void KeychainStore::unlock()
{
    if (m_unlocking)
        return;
    m_unlocking = true;
    emit unlockingChanged();
    QPointer<KeychainStore> self(this);
    post([self](Core &core, const Pause &) {
        QString name;
        const SecretResult result
            = core.onCurrent(&name, [](SecretBackend &backend) { return backend.unlock(); });
        deliver<SecretResult>(
            self.data(),
            [self](const SecretResult &outcome) {
                self->m_unlocking = false;
                emit self->unlockingChanged();
                self->observe(outcome.status != Status::Unknown, QString());
                if (outcome.done())
                    emit self->unlocked();
            },
            result);
    });
}

void KeychainStore::describe(QObject *context, std::function<void(const QString &)> done)
{
    QPointer<KeychainStore> self(this);
    QPointer<QObject> receiver(context);
    post([=](Core &core, const Pause &) {
        QString name;
        SecretResult why;
        core.stores->current(&name, &why);
        deliver<QString>(
            receiver,
            [self, done](const QString &seen) {
                if (self)
                    self->observe(self->m_answering, seen);
                if (done)
                    done(seen);
            },
            name);
    });
}

void KeychainStore::migrate(const QString &target, const QList<Item> &items, QObject *context,
                            std::function<void(int, int)> progress, Done done)
{
    QPointer<KeychainStore> self(this);
    QPointer<QObject> receiver(context);
    post([=](Core &core, const Pause &) {
        const auto finish = [&](const SecretResult &result) { deliver(receiver, done, result); };
        QString from;
        SecretResult why;
        SecretBackend *source = core.stores->current(&from, &why);
        if (!source) {
            // Nothing was chosen yet, so nothing is kept anywhere: choosing is all there is.
            QString error;
            if (!core.stores->choose(target, &error))
                return finish(SecretResult::failure(Status::Failed, error));
            report(self, SecretResult(), target);
            return finish(SecretResult());
        }
        if (from == target)
            return finish(SecretResult());
        SecretBackend *destination = core.stores->byName(target);
        if (!destination)
            return finish(SecretResult::failure(
                Status::Failed, QStringLiteral("there is no secret store \"%1\"").arg(target)));

        // Copies are noted before they are made: an interrupted move leaves nothing behind
        // in the store that is not in use.
        QList<SecretJournal::Note> copies;
        for (const Item &item : items)
            copies.append({target, account(item.id)});
        QString error;
        if (!core.journal.add(copies, &error))
            return finish(SecretResult::failure(Status::Failed, error));
        const auto abandon = [&](const SecretResult &failure) {
            for (const SecretJournal::Note &copy : copies) {
                if (destination->remove(service(), copy.account).done())
                    core.journal.clear(copy);
            }
            finish(failure);
        };

        QList<SecretJournal::Note> originals;
        int copied = 0;
        for (const Item &item : items) {
            const QString name = account(item.id);
            SecretResult value = source->read(service(), name);
            if (value.status == Status::Locked && source->unlock().done())
                value = source->read(service(), name);
            if (value.status != Status::Missing) {
                if (!value.done())
                    return abandon(
                        SecretResult::failure(value.status,
                                              QStringLiteral("couldn't read \u201C%1\u201D: %2")
                                                  .arg(item.entryLabel, value.error)));
                const SecretResult written
                    = destination->write(service(), name, itemLabel(item.entryLabel), value.value);
                if (!written.done())
                    return abandon(
                        SecretResult::failure(written.status,
                                              QStringLiteral("couldn't write \u201C%1\u201D: %2")
                                                  .arg(item.entryLabel, written.error)));
                const SecretResult back = destination->read(service(), name);
                if (!back.done() || back.value != value.value)
                    return abandon(SecretResult::failure(
                        Status::Failed,
                        QStringLiteral("\u201C%1\u201D did not read back the same from the new "
                                       "store")
                            .arg(item.entryLabel)));
                originals.append({from, name});
            }
            deliver<int>(
                receiver, [progress, total = int(items.size())](int n) { progress(n, total); },
                ++copied);
        }

        // Noted before the switch, whichever side of it a crash falls on, the next start
        // removes the copies in the store not in use.
        if (!core.journal.add(originals, &error))
            return abandon(SecretResult::failure(Status::Failed, error));
        if (!core.stores->choose(target, &error)) {
            for (const SecretJournal::Note &original : originals)
                core.journal.clear(original);
            return abandon(SecretResult::failure(Status::Failed, error));
        }
        for (const SecretJournal::Note &copy : copies)
            core.journal.clear(copy);
        report(self, SecretResult(), target);
        // An old copy that cannot be removed now keeps its note for the next start.
        for (const SecretJournal::Note &original : originals) {
            if (source->remove(service(), original.account).done())
                core.journal.clear(original);
        }
        finish(SecretResult());
    });
}
