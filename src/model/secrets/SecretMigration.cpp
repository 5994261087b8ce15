// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/secrets/SecretMigration.h"

#include "model/secrets/KeychainStore.h"
#include "model/secrets/SecretJournal.h"
#include "model/secrets/SecretStores.h"

namespace {

using Status = SecretResult::Status;

SecretResult failed(Status status, const QString &what, const QString &label, const QString &why)
{
    return SecretResult::failure(status, what.arg(label, why));
}

// Copies one secret and checks the copy; Missing when there is nothing to copy.
SecretResult copy(SecretBackend &source, SecretBackend &destination, const QString &account,
                  const QString &entryLabel)
{
    const QString service = KeychainStore::service();
    SecretResult value = source.read(service, account);
    // Asked for by the person: the unlock prompt is welcome.
    if (value.status == Status::Locked && source.unlock().done())
        value = source.read(service, account);
    if (value.status == Status::Missing)
        return value;
    if (!value.done())
        return failed(value.status, QStringLiteral("couldn't read \u201C%1\u201D: %2"), entryLabel,
                      value.error);
    const SecretResult written
        = destination.write(service, account, KeychainStore::itemLabel(entryLabel), value.value);
    if (!written.done())
        return failed(written.status, QStringLiteral("couldn't write \u201C%1\u201D: %2"),
                      entryLabel, written.error);
    const SecretResult back = destination.read(service, account);
    if (!back.done() || back.value != value.value)
        return failed(Status::Failed, QStringLiteral("\u201C%1\u201D did not read back the same%2"),
                      entryLabel,
                      back.error.isEmpty() ? QString() : QStringLiteral(": ") + back.error);
    return {};
}

} // namespace

namespace SecretMigration {

SecretResult run(SecretStores &stores, SecretJournal &journal, const QString &target,
                 const QList<Item> &items, const std::function<void(int)> &copied)
{
    QString from;
    SecretResult why;
    QString error;
    SecretBackend *source = stores.current(&from, &why);
    if (!source) {
        // Nothing was chosen yet, so nothing is kept anywhere: choosing is all there is.
        return stores.choose(target, &error) ? SecretResult()
                                             : SecretResult::failure(Status::Failed, error);
    }
    if (from == target)
        return {};
    SecretBackend *destination = stores.byName(target);
    if (!destination)
        return SecretResult::failure(Status::Failed,
                                     QStringLiteral("there is no secret store \"%1\"").arg(target));

    QList<SecretJournal::Note> copies;
    for (const Item &item : items)
        copies.append({target, KeychainStore::account(item.id)});
    if (!journal.add(copies, &error))
        return SecretResult::failure(Status::Failed, error);
    const auto abandon = [&](const SecretResult &failure) {
        // A copy that cannot be removed now keeps its note for the next start.
        for (const SecretJournal::Note &note : copies) {
            if (destination->remove(KeychainStore::service(), note.account).done())
                journal.clear(note);
        }
        return failure;
    };

    QList<SecretJournal::Note> originals;
    for (int i = 0; i < items.size(); ++i) {
        const QString account = KeychainStore::account(items.at(i).id);
        const SecretResult result = copy(*source, *destination, account, items.at(i).entryLabel);
        if (result.status != Status::Missing) {
            if (!result.done())
                return abandon(result);
            originals.append({from, account});
        }
        copied(i + 1);
    }

    if (!journal.add(originals, &error))
        return abandon(SecretResult::failure(Status::Failed, error));
    if (!stores.choose(target, &error)) {
        for (const SecretJournal::Note &original : originals)
            journal.clear(original);
        return abandon(SecretResult::failure(Status::Failed, error));
    }
    for (const SecretJournal::Note &note : copies)
        journal.clear(note);
    for (const SecretJournal::Note &original : originals) {
        if (source->remove(KeychainStore::service(), original.account).done())
            journal.clear(original);
    }
    return {};
}

} // namespace SecretMigration
