// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/secrets/KeychainStore.h"

#include "model/Logging.h"
#include "model/Paths.h"
#include "model/Preferences.h"
#include "model/secrets/SecretBackendChoice.h"
#include "model/secrets/SecretMigration.h"
#include "model/secrets/SerialWorker.h"

#include <QCoreApplication>
#include <QPointer>
#include <QStringDecoder>

#include <cstdio>

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
    QCoreApplication *application = QCoreApplication::instance();
    if (!done || !application)
        return;
    QMetaObject::invokeMethod(
        application,
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
    QCoreApplication *application = QCoreApplication::instance();
    if (!application)
        return;
    QMetaObject::invokeMethod(
        application,
        [self, answered, name] {
            if (self)
                self->observe(answered, name);
        },
        Qt::QueuedConnection);
}

void KeychainStore::change(const QUuid &id, QObject *context, Done done,
                           std::function<SecretResult(SecretBackend &)> call)
{
    QPointer<KeychainStore> self(this);
    QPointer<QObject> receiver(context);
    post([=](Core &core, const Pause &pause) {
        const SecretResult result = untilAnswered(pause, [&] {
            QString name;
            SecretResult attempt = core.onCurrent(&name, call);
            report(self, attempt, name);
            return attempt;
        });
        if (result.done())
            changed(self, id);
        deliver(receiver, done, result);
    });
}

void KeychainStore::changed(const QPointer<KeychainStore> &self, const QUuid &id)
{
    deliver<QUuid>(
        self.data(), [self](const QUuid &changed) { emit self->valueChanged(changed); }, id);
}

void KeychainStore::write(const QUuid &id, const QString &entryLabel, const QString &value,
                          QObject *context, Done done)
{
    const QString item = account(id);
    const QString label = itemLabel(entryLabel);
    const QByteArray bytes = value.toUtf8();
    change(id, context, std::move(done),
           [=](SecretBackend &backend) { return backend.write(service(), item, label, bytes); });
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
    // Without its note the item is still removed, only not again after a crash.
    if (const Result<void> noted = note(id); !noted)
        qCWarning(lcModel, "%s", qPrintable(noted.error()));
    settle({QString(), account(id)}, false, context, std::move(done));
}

void KeychainStore::relabel(const QUuid &id, const QString &entryLabel, QObject *context, Done done)
{
    const QString item = account(id);
    const QString label = itemLabel(entryLabel);
    change(id, context, std::move(done),
           [=](SecretBackend &backend) { return backend.relabel(service(), item, label); });
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

Result<void> KeychainStore::note(const QUuid &id)
{
    QString error;
    if (!m_core->journal.add({{QString(), account(id)}}, &error))
        return Failure {error};
    return {};
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
                changed(self, QUuid::fromString(note.account));
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
        const int total = int(items.size());
        const SecretResult result
            = SecretMigration::run(*core.stores, core.journal, target, items, [&](int copied) {
                  deliver<int>(
                      receiver,
                      [progress, total](int n) {
                          if (progress)
                              progress(n, total);
                      },
                      copied);
              });
        QString name;
        SecretResult why;
        core.stores->current(&name, &why);
        report(self, SecretResult(), name);
        deliver(receiver, done, result);
    });
}
