// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

// What one call into a secret store did.
struct SecretResult
{
    enum class Status {
        Done, // did what was asked; a read found the value
        Missing, // a read found no such item
        Locked, // the store is locked: nothing was read or changed
        Failed, // refused or impossible: nothing was changed
        Unknown, // no answer in time: the call may still take effect later
    };
    Status status = Status::Done;
    QByteArray value; // a read's value when Done
    QString error; // why, unless Done or Missing; never the secret

    bool done() const { return status == Status::Done; }
    static SecretResult failure(Status status, QString error)
    {
        return {status, {}, std::move(error)};
    }
};

// Every item of one service: account -> label (empty where the store keeps no labels).
struct SecretListing
{
    SecretResult::Status status = SecretResult::Status::Done;
    QMap<QString, QString> items;
    QString error;
};

// A store of one secret per (service, account) pair. Implementations: the desktop's Secret
// Service, an encrypted file, and fakes in tests. Calls block: they run on the secret
// store's own thread (KeychainStore), one at a time, never on the UI thread.
class SecretBackend
{
public:
    virtual ~SecretBackend() = default;

    // Replaces any previous value and label (update else add).
    virtual SecretResult write(const QString &service, const QString &account, const QString &label,
                               const QByteArray &value)
        = 0;
    // Never asks the person anything: a locked item is Locked.
    virtual SecretResult read(const QString &service, const QString &account) = 0;
    // Done when the item is gone afterwards, including when there was none.
    virtual SecretResult remove(const QString &service, const QString &account) = 0;
    virtual SecretListing items(const QString &service) = 0;
    // Done without change where the store keeps no labels.
    virtual SecretResult relabel(const QString &service, const QString &account,
                                 const QString &label)
        = 0;
    // Asks the person to unlock the store and waits as long as they need: a prompt they may
    // be looking at is never cancelled. Done when unlocked (or never locked).
    virtual SecretResult unlock() = 0;
    virtual bool keepsLabels() const = 0;
};
